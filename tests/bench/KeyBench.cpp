// Prints the median time from a key message reaching the main window to the
// end of the block copy that shows the new face, beside drawFace alone, and
// the same while POV-Ray renders the preview's scene in the background.
#include "app/FaceApp.h"
#include "app/FaceCmdWindow.h"
#include "face/FaceCanvasPane.h"
#include "render/PovrayRunner.h"
#include "tests/bench/BenchTiming.h"

#include <algorithm>
#include <cstdio>
#include <vector>
#include <windows.h>

namespace {

FaceApp application("TavokFace", 1, 0, 0);

constexpr int Presses = 200;

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace

int main() {
    char program[] = "key_bench";
    char* args[] = {program, nullptr};
    int count = 1;
    theApp->initApp(count, args, GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL);
    auto* window =
        static_cast<FaceCmdWindow*>(theApp->newAppWindow(nullptr, "TavokFace", 350, 350, nullptr));
    for (int i = 0; i < 20; ++i) {
        Sleep(10);
        pump();
    }
    FaceCanvasPane* face = window->canvasPane;
    face->selection = 8; // the middle mouth point, moved up and down
    HWND child = window->nativeWindow;
    double key = medianOf(Presses, 1e3,
                          [child](int i) { SendMessageA(child, WM_CHAR, i % 2 ? '5' : '8', 0); });
    double draw = medianOf(Presses, 1e3, [face](int) { face->drawFace(); });
    // Presses 5 ms apart, idle and beside the preview's render (restarted
    // whenever it ends), timed alike.
    PovrayRunner runner;
    std::string povray = runner.prepare() ? runner.findPovray() : std::string();
    int render = 0, renders = 0;
    auto spaced = [&](bool rendering) {
        std::vector<double> times;
        for (int i = 0; i < Presses; ++i) {
            if (rendering && (!render || runner.poll(render) != PovrayRunner::Running)) {
                render = runner.start(povray, face->pose, 320, 240);
                ++renders;
            }
            Sleep(5);
            double start = secondsNow();
            SendMessageA(child, WM_CHAR, i % 2 ? '5' : '8', 0);
            GdiFlush();
            times.push_back((secondsNow() - start) * 1e3);
        }
        std::nth_element(times.begin(), times.begin() + Presses / 2, times.end());
        return times[Presses / 2];
    };
    double idle = spaced(false);
    double busy = povray.empty() ? 0 : spaced(true);
    std::printf("key press to repainted face, median of %d presses\n", Presses);
    std::printf("  key message to block copy: %7.3f ms\n", key);
    std::printf("  drawFace alone:            %7.3f ms\n", draw);
    std::printf("  ratio key / drawFace:      %7.2f\n", key / draw);
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
