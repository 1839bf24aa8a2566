// Prints how the editor performs with a sound, in the real main window and
// on the run's sound server: playback with sound over 10 s at 25 and 60 fps
// (frames due, drawn, late: more than a frame period from the sound's
// position; and how long the sound's position took to start moving), a
// scrub step with the waveform shown beside drawFace, and opening a
// 10-minute sound, 16-bit or float: its header checked, the strip drawn at
// once, and its whole waveform drawn once read.
#include "animation/TimelinePane.h"
#include "app/AnimationEditor.h"
#include "app/FaceTables.h"
#include "face/FaceCanvasPane.h"
#include "sound/SoundFileReader.h"
#include "sound/WaveSummary.h"
#include "tests/bench/BenchApp.h"
#include "tests/bench/BenchTiming.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

FaceApp application("TavokFace", 1, 0, 0);

// `seconds` of a syllable-like tone at `rate` in `channels` of 16-bit
// integers or, with `floats`, 32-bit floats.
void writeWav(const char* path, int rate, int channels, int seconds, bool floats = false) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return;
    unsigned size = floats ? 4 : 2, frame = unsigned(channels) * size;
    unsigned data = unsigned(rate) * frame * unsigned(seconds);
    auto put = [&](unsigned value, int bytes) { std::fwrite(&value, 1, std::size_t(bytes), file); };
    std::fwrite("RIFF", 1, 4, file);
    put(36 + data, 4);
    std::fwrite("WAVEfmt ", 1, 8, file);
    for (auto [value, bytes] : {std::pair{16u, 4},
                                {floats ? 3u : 1u, 2},
                                {unsigned(channels), 2},
                                {unsigned(rate), 4},
                                {unsigned(rate) * frame, 4},
                                {frame, 2},
                                {size * 8, 2}})
        put(value, bytes);
    std::fwrite("data", 1, 4, file);
    put(data, 4);
    std::vector<short> shorts(std::size_t(rate * channels));
    std::vector<float> second(shorts.size());
    for (int s = 0; s < seconds; ++s) {
        for (int i = 0; i < rate * channels; ++i) {
            second[std::size_t(i)] =
                float(0.37 * std::sin(i * 0.05) * std::fabs(std::sin(i * 3.0 / rate + s)));
            shorts[std::size_t(i)] = short(32767 * second[std::size_t(i)]);
        }
        if (floats)
            std::fwrite(second.data(), sizeof(float), second.size(), file);
        else
            std::fwrite(shorts.data(), sizeof(short), shorts.size(), file);
    }
    std::fclose(file);
}

// Wall clock and processor time: on a busy machine the processor time
// tells what a step costs with a core to itself.
struct Stamp {
    double wall;
    double processor;
};

Stamp stamp() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    auto seconds = [](FILETIME time) {
        return (double(time.dwHighDateTime) * 4294967296.0 + time.dwLowDateTime) * 1e-7;
    };
    return {secondsNow(), seconds(kernel) + seconds(user)};
}

// Spans from stamps to now; their medians as text.
struct Spans {
    std::vector<double> wall, processor;
    void add(Stamp from) {
        Stamp to = stamp();
        wall.push_back((to.wall - from.wall) * 1e3);
        processor.push_back((to.processor - from.processor) * 1e3);
    }
    std::string text() {
        char out[80];
        std::snprintf(out, sizeof out, "%.1f ms (processor %.0f ms)", median(wall),
                      median(processor));
        return out;
    }
};

void setSound(FaceCmdWindow* window, const std::string& path) {
    window->document.begin("Sound");
    window->document.setSound(SoundReference{path, 0});
    window->document.commit();
}

// Until the sound being read is in and shown (or with `outline`, the
// outline of its waveform), one minute at most.
void waitForWaveform(AnimationEditor& editor, bool outline = false) {
    double deadline = secondsNow() + 60;
    auto shown = [&] {
        return outline ? editor.pane->waveform->hasWaveform() : editor.pane->waveform->hasClip();
    };
    while (!shown() && secondsNow() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        pumpMessages();
    }
}

void play(AnimationEditor& editor, FaceCmdWindow* window, int fps) {
    AnimationSettings settings = window->document.animation().settings();
    settings.fps = fps;
    settings.length = 20 * fps;
    window->document.begin("Animation settings");
    window->document.setSettings(settings);
    window->document.commit();
    window->document.moveTo(0);
    long long drawn = 0, late = 0, heard = 0;
    editor.onFrameDrawn = [&](int frame, long long, long long) {
        ++drawn;
        double sound = editor.soundFrame();
        if (sound < 0) return;
        ++heard;
        if (std::fabs(frame - sound) > 1) ++late;
    };
    double start = secondsNow(), started = -1;
    window->onMenuCommand(IdPlay);
    double end = start + 10;
    while (secondsNow() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        pumpMessages();
        if (started < 0 && editor.soundFrame() > 0) started = secondsNow() - start;
    }
    window->onMenuCommand(IdPlay);
    editor.onFrameDrawn = nullptr;
    long long due = 10 * fps + 1; // frame 0 is due at once
    std::printf("playback with sound at %d fps for 10 s: %lld frames due, %lld drawn, %lld late "
                "of %lld with sound (%.1f %% within a frame period); the sound's position "
                "moved %.1f ms after Play\n",
                fps, due, drawn, late, heard, 100.0 * (heard - late) / std::max(1LL, heard),
                started * 1e3);
}

} // namespace

int main() {
    FaceCmdWindow* window = openMainWindow("sound_editor_bench");
    AnimationEditor& editor = *window->animationEditor;
    FaceCanvasPane* face = window->canvasPane;
    window->onMenuCommand(IdTimeline);
    writeWav("sound_bench_voice.wav", 22050, 1, 30);
    setSound(window, "sound_bench_voice.wav");
    waitForWaveform(editor);
    play(editor, window, 25);
    play(editor, window, 60);

    HWND strip = editor.pane->barWindow();
    int x0 = editor.pane->frameX(20), x1 = editor.pane->frameX(30);
    // A ruler drag step as the user sees it: the face and the strip
    // repainted, with the sound's frame played, then without a sound.
    auto scrub = [&] {
        SendMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, 20));
        double step = medianOf(200, 1e3, [&](int i) {
            SendMessageA(strip, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(i % 2 ? x0 : x1, 20));
            UpdateWindow(strip);
        });
        SendMessageA(strip, WM_LBUTTONUP, 0, MAKELPARAM(x0, 20));
        return step;
    };
    double withSound = scrub();
    setSound(window, "");
    double silent = scrub();
    double draw = medianOf(200, 1e3, [&](int) { face->drawFace(); });
    std::printf("ruler drag step with the waveform shown and a frame of sound played: %.3f ms, "
                "without a sound %.3f ms, drawFace %.3f ms, ratio %.2f\n",
                withSound, silent, draw, withSound / draw);

    struct Format {
        int rate;
        int channels;
        bool floats;
    } formats[] = {{44100, 2, false}, {48000, 2, true}};
    for (const Format& format : formats) {
        writeWav("sound_bench_long.wav", format.rate, format.channels, 600, format.floats);
        // The device opens once per format: not part of opening a sound.
        setSound(window, "sound_bench_long.wav");
        // The strip drawn at once (saying the sound is being read), then
        // again with the whole waveform once the samples are in.
        Spans strips, outlines, wholes, headers, outlined, reads, bytes;
        for (int i = 0; i < 5; ++i) {
            setSound(window, "");
            Stamp start = stamp();
            setSound(window, "sound_bench_long.wav");
            UpdateWindow(strip);
            GdiFlush();
            strips.add(start);
            waitForWaveform(editor, true);
            UpdateWindow(strip);
            GdiFlush();
            outlines.add(start);
            waitForWaveform(editor);
            UpdateWindow(strip);
            GdiFlush();
            wholes.add(start);
        }
        // Its parts: the header checked, and the samples read and
        // summarised; beside them what the system takes to read the file's
        // bytes alone into fresh memory.
        long long held = 0;
        for (int i = 0; i < 5; ++i) {
            Stamp start = stamp();
            SoundFileReader reader;
            reader.open(L"sound_bench_long.wav");
            headers.add(start);
            Stamp opened = stamp();
            SoundClip clip;
            WaveSummary outline(2), summary;
            reader.readOutline(outline);
            outlined.add(opened);
            Stamp sampled = stamp();
            reader.readSamples(clip, &summary);
            reads.add(sampled);
            held = clip.length() * clip.channelCount() * 2;
        }
        for (int i = 0; i < 5; ++i) {
            Stamp start = stamp();
            HANDLE file = CreateFileW(L"sound_bench_long.wav", GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
            DWORD size = GetFileSize(file, nullptr), got = 0;
            void* memory = VirtualAlloc(nullptr, size, MEM_COMMIT, PAGE_READWRITE);
            ReadFile(file, memory, size, &got, nullptr);
            VirtualFree(memory, 0, MEM_RELEASE);
            CloseHandle(file);
            bytes.add(start);
        }
        std::printf("10-minute %d Hz %s %s WAV (its samples hold %.0f MB): header checked in %s, "
                    "the strip drawn (saying it is read) after %s, its whole waveform drawn "
                    "after %s, its samples in and the strip drawn again after %s; reading the "
                    "outline %s, then the samples with their summary %s; the file's bytes "
                    "alone into fresh memory %s\n",
                    format.rate, format.channels == 1 ? "mono" : "stereo",
                    format.floats ? "float" : "16-bit", double(held) / (1 << 20),
                    headers.text().c_str(), strips.text().c_str(), outlines.text().c_str(),
                    wholes.text().c_str(), outlined.text().c_str(), reads.text().c_str(),
                    bytes.text().c_str());
    }
    setSound(window, "");
    DeleteFileA("sound_bench_voice.wav");
    DeleteFileA("sound_bench_long.wav");
    return 0;
}
