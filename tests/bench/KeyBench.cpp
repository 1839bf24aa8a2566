// Prints the median time from a key message, and from a mouse move of a drag,
// reaching the main window to the end of the block copy that shows the new
// face, beside drawFace alone. The three are timed in turn, so that the load
// of a busy machine falls on all of them alike; compare the ratios.
// Then key presses spaced 5 ms apart, idle and while POV-Ray renders the
// preview's scene in the background.
#include "face/FaceCanvasPane.h"
#include "render/PovrayRunner.h"
#include "tests/bench/BenchApp.h"
#include "tests/bench/BenchTiming.h"

#include <algorithm>
#include <cstdio>
#include <vector>
#include <windows.h>

namespace {

FaceApp application("TavokFace", 1, 0, 0);

constexpr int Rounds = 200;

// Milliseconds of one call, its drawing finished.
template <class Call> double timed(Call call) {
    double start = secondsNow();
    call();
    GdiFlush();
    return (secondsNow() - start) * 1e3;
}

} // namespace

int main() {
    FaceCmdWindow* window = openMainWindow("key_bench");
    FaceCanvasPane* face = window->canvasPane;
    HWND child = window->nativeWindow;
    face->drawFace();
    // The middle mouth point is moved up and down by keys; the left one is
    // dragged between two rows, pressed and released outside the timing,
    // since a key ends a drag.
    window->activationClick = 0;
    auto key = [&](int i) {
        window->document.pose().selection = HandleMouthFirst + 2;
        SendMessageA(child, WM_CHAR, i % 2 ? '5' : '8', 0);
    };
    const HandlePoint& left = face->handles[HandleMouthFirst];
    int x = int(left.x), y = int(left.y);
    auto drag = [&](int i) {
        SendMessageA(child, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y - 10 - 10 * (i % 2)));
    };
    std::vector<double> keys, drags, draws;
    for (int i = -20; i < Rounds; ++i) {
        double k = timed([&] { key(i); });
        SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(int(left.x), int(left.y)));
        double d = timed([&] { drag(i); });
        SendMessageA(child, WM_LBUTTONUP, 0, 0);
        double f = timed([&] { face->drawFace(); });
        if (i < 0) continue; // warming up
        keys.push_back(k);
        drags.push_back(d);
        draws.push_back(f);
    }
    double keyTime = median(keys), dragTime = median(drags), drawTime = median(draws);
    std::printf("key press and drag step to repainted face, median of %d each\n", Rounds);
    std::printf("  key message to block copy:  %7.3f ms\n", keyTime);
    std::printf("  mouse move to block copy:   %7.3f ms\n", dragTime);
    std::printf("  drawFace alone:             %7.3f ms\n", drawTime);
    std::printf("  ratio key / drawFace:       %7.2f\n", keyTime / drawTime);
    std::printf("  ratio drag / drawFace:      %7.2f\n", dragTime / drawTime);
    // Rounds 5 ms apart, idle and beside the preview's render (restarted
    // whenever it ends), timed alike.
    PovrayRunner runner;
    std::string povray = runner.prepare() ? runner.findPovray() : std::string();
    int render = 0, renders = 0;
    auto spaced = [&](bool rendering) {
        std::vector<double> times;
        for (int i = 0; i < Rounds; ++i) {
            if (rendering && (!render || runner.poll(render) != PovrayRunner::Running)) {
                render = runner.start(povray, face->pose, 320, 240);
                ++renders;
            }
            Sleep(5);
            double start = secondsNow();
            key(i);
            GdiFlush();
            times.push_back((secondsNow() - start) * 1e3);
        }
        return median(times);
    };
    double idle = spaced(false);
    double busy = povray.empty() ? 0 : spaced(true);
    std::printf("presses 5 ms apart\n");
    std::printf("  idle:                      %7.3f ms\n", idle);
    if (povray.empty()) {
        std::printf("  (no POV-Ray: no figure while rendering)\n");
    } else {
        std::printf("  while POV-Ray renders:     %7.3f ms (%d renders)\n", busy, renders);
        std::printf("  ratio rendering / idle:    %7.2f (target 1.5 at most)\n", busy / idle);
    }
    // Closed without the application's settings step, which would ask for
    // a settings file this run never read.
    theApp->vApp::closeAppWindow(window);
    return 0;
}
