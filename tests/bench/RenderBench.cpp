// Prints the median time from the last key press of a change to the new
// render on screen in the render preview, over ten changes at 320 x 240.
// tests/bench/RenderBench.sh prints it beside plain POV-Ray runs.
#include "app/FaceTables.h"
#include "app/RenderPreview.h"
#include "face/FaceCanvasPane.h"
#include "tests/bench/BenchApp.h"
#include "tests/bench/BenchTiming.h"

#include <algorithm>
#include <cstdio>
#include <vector>
#include <windows.h>

namespace {

FaceApp application("TavokFace", 1, 0, 0);

constexpr int Changes = 10;

// Pumps until render number `count` is on screen; false after 30 s.
bool renderShown(RenderPreview* preview, int count) {
    double deadline = secondsNow() + 30;
    while (secondsNow() < deadline) {
        pumpMessages();
        if (preview->renderCount() >= count && preview->status().compare(0, 8, "Rendered") == 0 &&
            !GetUpdateRect(preview->nativeWindow, nullptr, FALSE))
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    return false;
}

} // namespace

int main() {
    FaceCmdWindow* window = openMainWindow("render_bench");
    RenderPreview* preview = window->renderPreview;
    window->onCommand(IdRenderPreview, 0, 0);
    if (!renderShown(preview, 1)) {
        std::printf("no first render: %s %s\n", preview->status().c_str(),
                    preview->message().c_str());
        return 1;
    }
    window->document.pose().selection = 2; // a lid, moved up and down
    std::vector<double> times;
    for (int i = 0; i < Changes; ++i) {
        int next = preview->renderCount() + 1;
        SendMessageA(window->nativeWindow, WM_CHAR, i % 2 ? '5' : '8', 0);
        double start = secondsNow();
        if (!renderShown(preview, next)) {
            std::printf("change %d: no render within 30 s\n", i);
            return 1;
        }
        times.push_back((secondsNow() - start) * 1e3);
    }
    std::nth_element(times.begin(), times.begin() + Changes / 2, times.end());
    std::printf("last key press to new render on screen, median of %d changes at 320x240: "
                "%.0f ms (pause %d ms)\n",
                Changes, times[Changes / 2], RenderPreview::Pause);
    theApp->vApp::closeAppWindow(window);
    return 0;
}
