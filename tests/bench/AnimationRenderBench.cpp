// Prints the editor's figures while it renders an animation: the median time
// from a key press to the repainted face, idle, while the render starts its
// POV-Rays and once every core renders frames, and the time from Cancel to
// the last POV-Ray gone (median and maximum of ten cancels).
#include "app/AnimationEditor.h"
#include "app/AnimationRenderer.h"
#include "face/FaceCanvasPane.h"
#include "tests/bench/BenchApp.h"
#include "tests/bench/BenchTiming.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include <windows.h>

namespace {

FaceApp application("TavokFace", 1, 0, 0);

constexpr int Rounds = 200;

} // namespace

int main() {
    FaceCmdWindow* window = openMainWindow("animation_render_bench");
    AnimationRenderer& renderer = *window->animationRenderer;
    window->activationClick = 0;
    auto key = [&](int i) {
        window->document.pose().selection = HandleMouthFirst + 2;
        SendMessageA(window->nativeWindow, WM_CHAR, i % 2 ? '5' : '8', 0);
    };
    Animation animation = window->document.animation();
    RenderRequest request;
    request.folder = "Z:\\tmp\\tavok-animation-render-bench";
    request.last = animation.settings().length - 1;
    request.gif = false;
    // Key presses 5 ms apart, the render's timer served between them; a key
    // pressed while a message is handled waits for it, so those are timed too.
    double longestTick = 0, ticking = 0, began = 0;
    auto spaced = [&](bool rendering) {
        std::vector<double> times;
        for (int i = 0; i < Rounds; ++i) {
            // A stem of its own each time: the frames already there would be kept.
            if (rendering && !renderer.rendering()) {
                request.stem = "keys" + std::to_string(i);
                renderer.start(animation, request);
            }
            Sleep(5);
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                double dispatched = secondsNow();
                TranslateMessage(&message);
                DispatchMessageA(&message);
                double tick = (secondsNow() - dispatched) * 1e3;
                longestTick = std::max(longestTick, tick);
                ticking += tick;
                // Ticks longer than the timer's period would come for ever.
                if (message.message == WM_TIMER) break;
            }
            double start = secondsNow();
            key(i);
            GdiFlush();
            times.push_back((secondsNow() - start) * 1e3);
        }
        return median(times);
    };
    began = secondsNow();
    double idle = spaced(false);
    double idleShare = ticking / ((secondsNow() - began) * 1e3), idleLongest = longestTick;
    longestTick = ticking = 0;
    began = secondsNow();
    // The same render: its first presses come while its POV-Rays start.
    double starting = spaced(true), busy = spaced(true);
    double elapsed = (secondsNow() - began) * 1e3;
    std::printf("key press to repainted face, presses 5 ms apart, median of %d\n", Rounds);
    std::printf("  idle:                          %7.3f ms\n", idle);
    std::printf("  while the render starts:       %7.3f ms\n", starting);
    std::printf("  while the animation renders:   %7.3f ms\n", busy);
    std::printf(
        "  ratio rendering / idle:        %7.2f (target 1.5 at most); starting / idle %.2f\n",
        busy / idle, starting / idle);
    std::printf("  the window thread on other messages: idle %.0f%% of the time, %.0f ms at most"
                " for one; rendering %.0f%%, %.0f ms at most\n",
                100 * idleShare, idleLongest, 100 * ticking / elapsed, longestTick);
    // Cancel once frames come; cancel returns when every POV-Ray has ended.
    std::vector<double> cancels;
    for (int i = 0; i < 10; ++i) {
        // A stem of its own: frames of the runs before do not count.
        request.stem = "cancel" + std::to_string(i);
        renderer.cancel();
        renderer.start(animation, request);
        for (double end = secondsNow() + 30; secondsNow() < end && renderer.rendering();) {
            Sleep(20);
            pumpMessages();
            WIN32_FIND_DATAA found;
            HANDLE frame =
                FindFirstFileA((request.folder + "\\" + request.stem + "*.png").c_str(), &found);
            if (frame == INVALID_HANDLE_VALUE) continue;
            FindClose(frame);
            break;
        }
        double start = secondsNow();
        renderer.cancel();
        cancels.push_back((secondsNow() - start) * 1e3);
    }
    std::sort(cancels.begin(), cancels.end());
    std::printf("Cancel to the last POV-Ray gone, 10 cancels: median %.0f ms, maximum %.0f ms "
                "(target under 1 s)\n",
                median(cancels), cancels.back());
    theApp->vApp::closeAppWindow(window);
    return 0;
}
