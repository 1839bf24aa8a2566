// Prints how fast the lip-sync reads a 60 s voice, in multiples of real
// time, and how long a 10-minute sound takes to open and summarise for its
// waveform. Native; run it from an optimised build without sanitizers for
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

// `seconds` of `voice` over and over, written as a WAV of `channels` at `rate`.
bool writeLoop(const std::string& path, const SoundClip& voice, double seconds, int rate,
               int channels) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    std::vector<float> block;
    long long frames = (long long)(seconds * rate);
    for (long long i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            block.push_back(voice.mono()[std::size_t(i % voice.length())]);
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
    Samples minute(std::size_t(60 * voice.rate()));
    for (std::size_t i = 0; i < minute.size(); ++i)
        minute[i] = voice.mono()[i % std::size_t(voice.length())];
    SoundClip clip(voice.rate(), {std::move(minute)});
    std::size_t keys = 0;
    double analysis = medianOf(7, [&] { keys = lipSync(clip, 25).size(); });
    std::printf(
        "lip-sync of a 60 s voice at %d Hz: %.1f ms, %.0f x real time (%zu keys at 25 fps)\n",
        voice.rate(), analysis * 1000, 60 / analysis, keys);

    struct Format {
        int rate;
        int channels;
    } formats[] = {{44100, 1}, {48000, 2}};
    for (const Format& format : formats) {
        std::string path = (work / "ten-minutes.wav").string();
        if (!writeLoop(path, voice, 600, format.rate, format.channels)) {
            std::fprintf(stderr, "could not write %s\n", path.c_str());
            return 1;
        }
        double summarise = 0;
        double open = medianOf(5, [&] {
            SoundClip clip;
            if (!reader.read(path, clip)) std::fprintf(stderr, "%s\n", reader.error().c_str());
            double start = secondsNow();
            WaveSummary summary(clip.mono().data(), clip.length());
            // The whole sound across a wide strip, then a second of it.
            summary.columns(0, clip.length(), 1600);
            summary.columns(clip.length() / 2, clip.length() / 2 + clip.rate(), 1600);
            summarise = secondsNow() - start;
        });
        // What the system charges for the clip's fresh memory alone: its
        // channels and, for stereo, the mix, written once.
        double memory = medianOf(5, [&] {
            std::vector<Samples> blocks(std::size_t(format.channels == 1 ? 1 : 3));
            for (Samples& block : blocks)
                block.assign(std::size_t(600 * format.rate), 0.5f);
        });
        std::printf("10-minute %d Hz %s 16-bit WAV: open and summarise %.1f ms (summary and two "
                    "views %.1f ms of it; the samples' fresh memory alone %.1f ms)\n",
                    format.rate, format.channels == 1 ? "mono" : "stereo", open * 1000,
                    summarise * 1000, memory * 1000);
        std::filesystem::remove(path);
    }
    return 0;
}
