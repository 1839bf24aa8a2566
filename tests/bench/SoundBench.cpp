// Prints how fast the lip-sync reads a 60 s voice, in multiples of real
// time, and how long a 10-minute sound, 16-bit or float, takes to open and
// summarise for its waveform. Native; run it from an optimised build without sanitizers for
// the product's figures. Usage: sound_bench [work folder]
#include "sound/LipSync.h"
#include "sound/WaveSummary.h"
#include "sound/SoundFileReader.h"
#include "tools/tavokpose/Process.h"

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

namespace {

double secondsNow() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The median of `runs` timed calls, in seconds.
double medianOf(int runs, const std::function<void()>& call) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double start = secondsNow();
        call();
        times.push_back(secondsNow() - start);
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[std::size_t(runs / 2)];
}

// `seconds` of `voice` over and over, written as a WAV of `channels` at
// `rate` in libsndfile's sample `type`.
bool writeLoop(const std::string& path, const Samples& voice, double seconds, int rate,
               int channels, int type) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | type;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    std::vector<float> block;
    long long frames = (long long)(seconds * rate);
    for (long long i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            block.push_back(voice[std::size_t(i) % voice.size()]);
    bool written = sf_writef_float(file, block.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path work =
        argc > 1 ? argv[1] : std::filesystem::temp_directory_path() / "tavok-sound-bench";
    std::filesystem::create_directories(work);
    std::string text;
    for (int i = 0; i < 14; ++i)
        text += "The robot lifts its brow, blinks twice, and says: my name is Tavok, I move my "
                "mouth when I speak. ";
    ProcessResult spoken =
        runProcess({"espeak-ng", "-w", "voice.wav", text}, work.string(), "espeak.log", 60);
    SoundClip voice;
    SoundFileReader reader;
    if (spoken.exitCode != 0 || !reader.read((work / "voice.wav").string(), voice)) {
        std::fprintf(stderr, "no voice from espeak-ng within 60 s: %s\n", reader.error().c_str());
        return 1;
    }
    // Exactly 60 s of it, repeated as needed.
    Samples speech = voice.mono(), minute(std::size_t(60 * voice.rate()));
    for (std::size_t i = 0; i < minute.size(); ++i)
        minute[i] = speech[i % speech.size()];
    SoundClip clip(voice.rate(), {minute});
    std::size_t keys = 0;
    double analysis = medianOf(7, [&] { keys = lipSync(clip, 25).size(); });
    std::printf(
        "lip-sync of a 60 s voice at %d Hz: %.1f ms, %.0f x real time (%zu keys at 25 fps)\n",
        voice.rate(), analysis * 1000, 60 / analysis, keys);

    struct Format {
        int rate;
        int channels;
        int type;
        const char* name;
    } formats[] = {{44100, 2, SF_FORMAT_PCM_16, "16-bit"}, {48000, 2, SF_FORMAT_FLOAT, "float"}};
    for (const Format& format : formats) {
        std::string path = (work / "ten-minutes.wav").string();
        if (!writeLoop(path, speech, 600, format.rate, format.channels, format.type)) {
            std::fprintf(stderr, "could not write %s\n", path.c_str());
            return 1;
        }
        double header = medianOf(5, [&] { SoundFileReader().open(path); });
        // Read and summarised, then the whole sound across a wide strip and
        // a second of it.
        double whole = medianOf(5, [&] {
            SoundClip clip;
            WaveSummary summary;
            if (!reader.open(path) || !reader.readSamples(clip, &summary))
                std::fprintf(stderr, "%s\n", reader.error().c_str());
            summary.columns(0, clip.length(), 1600);
            summary.columns(clip.length() / 2, clip.length() / 2 + clip.rate(), 1600);
        });
        // Its outline alone, read through one small block.
        double outline = medianOf(5, [&] {
            WaveSummary summary(format.channels);
            if (!reader.open(path) || !reader.readOutline(summary))
                std::fprintf(stderr, "%s\n", reader.error().c_str());
            summary.columns(0, summary.length(), 1600);
        });
        // What the system charges for the clip's fresh memory alone, written once.
        double memory = medianOf(5, [&] {
            Pcm block;
            block.assign(std::size_t(600 * format.rate * format.channels), 1);
        });
        std::printf("10-minute %d Hz %s %s WAV: header checked in %.2f ms, its outline read "
                    "and its whole waveform's columns made in %.1f ms; its samples read, "
                    "summarised and the columns made in %.1f ms (the samples' fresh memory "
                    "alone %.1f ms)\n",
                    format.rate, format.channels == 1 ? "mono" : "stereo", format.name,
                    header * 1000, outline * 1000, whole * 1000, memory * 1000);
        std::filesystem::remove(path);
    }
    return 0;
}
