// Prints the median time from a key message reaching the main window to the
// end of the block copy that shows the new face, beside drawFace alone.
#include "app/FaceApp.h"
#include "app/FaceCmdWindow.h"
#include "face/FaceCanvasPane.h"
#include "tests/bench/BenchTiming.h"

#include <cstdio>
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
    std::printf("key press to repainted face, median of %d presses\n", Presses);
    std::printf("  key message to block copy: %7.3f ms\n", key);
    std::printf("  drawFace alone:            %7.3f ms\n", draw);
    std::printf("  ratio key / drawFace:      %7.2f\n", key / draw);
    // Closed without the application's settings step, which would ask for
    // a settings file this run never read.
    theApp->vApp::closeAppWindow(window);
    return 0;
}
