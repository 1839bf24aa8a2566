// Prints how the timeline performs in the real main window: playback over
// 10 s at 25 and 60 fps (frames due, drawn, late by more than a frame
// period, skipped), a ruler drag step to the repainted face beside drawFace,
// a key press that sets a key beside a plain one, and the open, save and
// export times of 10,000 frames with 1,000 keys.
#include "animation/AnimationExport.h"
#include "animation/AnimationFile.h"
#include "animation/TimelinePane.h"
#include "app/AnimationEditor.h"
#include "app/FaceTables.h"
#include "face/FaceCanvasPane.h"
#include "tests/bench/BenchApp.h"
#include "tests/bench/BenchTiming.h"

#include <cstdio>
#include <string>

namespace {

FaceApp application("TavokFace", 1, 0, 0);

void play(AnimationEditor& editor, FaceCmdWindow* window, int fps) {
    AnimationSettings settings = window->document.animation().settings();
    settings.fps = fps;
    window->document.begin("Animation settings");
    window->document.setSettings(settings);
    window->document.commit();
    long long due = 0, drawn = 0, late = 0, skipped = 0, previous = -1;
    editor.onFrameDrawn = [&](int frame, long long dueAt, long long drawnAt) {
        ++drawn;
        if (drawnAt - dueAt > 1000000 / fps) ++late;
        if (previous >= 0 && frame != (previous + 1) % settings.length) ++skipped;
        previous = frame;
    };
    window->onMenuCommand(IdPlay);
    double end = secondsNow() + 10;
    while (secondsNow() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        pumpMessages();
    }
    window->onMenuCommand(IdPlay);
    due = 10 * fps + 1; // frame 0 is due at once
    std::printf("playback at %d fps for 10 s: %lld frames due, %lld drawn, %lld late (%.1f %% on "
                "time), %lld skipped\n",
                fps, due, drawn, late, 100.0 * (drawn - late) / due, skipped);
}

double milliseconds(double start) {
    return (secondsNow() - start) * 1e3;
}

} // namespace

int main() {
    FaceCmdWindow* window = openMainWindow("timeline_bench");
    AnimationEditor& editor = *window->animationEditor;
    FaceCanvasPane* face = window->canvasPane;
    HWND child = window->nativeWindow;
    window->onMenuCommand(IdTimeline);
    window->document.pose().selection = -1;
    SendMessageA(child, WM_CHAR, 'k', 0);
    window->document.moveTo(50);
    SendMessageA(child, WM_CHAR, '8', 0);
    play(editor, window, 25);
    play(editor, window, 60);

    HWND strip = editor.pane->barWindow();
    int x0 = editor.pane->frameX(20), x1 = editor.pane->frameX(30);
    SendMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, 20));
    double scrub = medianOf(200, 1e3, [&](int i) {
        SendMessageA(strip, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(i % 2 ? x0 : x1, 20));
    });
    SendMessageA(strip, WM_LBUTTONUP, 0, MAKELPARAM(x0, 20));
    double draw = medianOf(200, 1e3, [&](int) { face->drawFace(); });
    double paint = medianOf(200, 1e3, [&](int) {
        InvalidateRect(strip, nullptr, FALSE);
        UpdateWindow(strip);
    });
    std::printf("ruler drag step to repainted face: %.3f ms, drawFace %.3f ms, ratio %.2f; the "
                "strip's own paint, when idle: %.3f ms\n",
                scrub, draw, scrub / draw, paint);

    auto keys = [&](int i) { SendMessageA(child, WM_CHAR, i % 2 ? '8' : '5', 0); };
    double keyed = medianOf(200, 1e3, keys);
    window->onMenuCommand(IdTimeline);
    double plain = medianOf(200, 1e3, keys);
    std::printf("key press setting a key: %.3f ms, plain key press %.3f ms, ratio %.2f\n", keyed,
                plain, keyed / plain);

    Animation big;
    big.setSettings({25, MaxLength, InterpolateSmooth});
    for (int k = 0; k < 1000; ++k) {
        float pose[PoseCount] = {float(k % 90), 0, 0, 0.5f, 30, float(k % 60), 30, -30, 0.25f};
        big.setKey(k * 10, pose);
    }
    double start = secondsNow();
    writeAnimationFile(big, "timeline_bench.tfa");
    double save = milliseconds(start);
    start = secondsNow();
    Animation read;
    int result = readAnimationFile(read, "timeline_bench.tfa");
    double open = milliseconds(start);
    start = secondsNow();
    writeAnimationIncludeFile(big, face->pose, "timeline_bench.inc");
    double exported = milliseconds(start);
    std::printf("10,000 frames, 1,000 keys: open %.1f ms (%s), save %.1f ms, export %.1f ms\n",
                open, result == 0 && read == big ? "identical" : "DIFFERENT", save, exported);
    DeleteFileA("timeline_bench.tfa");
    DeleteFileA("timeline_bench.inc");
    return 0;
}
