// Prints the time the expression library takes to show 2-D thumbnails of a
// folder of 100 poses, and the median time from a click on a thumbnail, and
// from a step of the mix slider, to the repainted face, beside a plain key
// press timed in turn with them. POV-Ray is kept out of the 2-D figures.
#include "app/ExpressionWindow.h"
#include "app/FaceTables.h"
#include "app/FileDialogState.h"
#include "expressions/ExpressionMix.h"
#include "face/FaceCanvasPane.h"
#include "face/PoseFile.h"
#include "render/Povray.h"
#include "tests/bench/BenchApp.h"
#include "tests/bench/BenchTiming.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

FaceApp application("TavokFace", 1, 0, 0);

constexpr int Rounds = 200;

// A folder of 100 poses between the first two shipped expressions.
std::string makeFolder(ExpressionWindow& library) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "expression-bench";
    CreateDirectoryA(folder.c_str(), nullptr);
    const auto& listed = library.listing().listed;
    for (int i = 0; i < 100; ++i) {
        float pose[PoseCount];
        mixPose(listed[0].pose, listed[1].pose, i / 100.0, pose);
        writePoseFile(pose, (folder + "\\pose" + std::to_string(i) + ".txt").c_str());
    }
    return folder;
}

template <class Call> double milliseconds(Call call) {
    double start = secondsNow();
    call();
    GdiFlush();
    return (secondsNow() - start) * 1e3;
}

} // namespace

int main() {
    SetEnvironmentVariableA(PovrayVariable, "C:\\nowhere\\povray.exe");
    FaceCmdWindow* window = openMainWindow("expression_bench");
    ExpressionWindow& library = *window->expressionWindow;
    HWND frame = application.frameWindow, child = window->nativeWindow;
    auto toggle = [&] { SendMessageA(frame, WM_COMMAND, IdExpressions, 0); };
    toggle();
    std::strcpy(lastDirectory, makeFolder(library).c_str());
    toggle();
    pumpMessages();
    auto open = [&] {
        toggle();
        UpdateWindow(library.nativeWindow);
    };
    double first = milliseconds(open);
    std::vector<double> opens;
    for (int i = 0; i < 20; ++i) {
        toggle();
        opens.push_back(milliseconds(open));
    }
    std::printf("expressions window on %zu files (100 in the folder), 2-D thumbnails on screen\n",
                library.listing().listed.size());
    std::printf("  first showing:               %7.2f ms\n", first);
    std::printf("  median of 20 showings:       %7.2f ms\n", median(opens));

    auto key = [&](int i) {
        window->canvasPane->selection = HandleMouthFirst + 2;
        SendMessageA(child, WM_CHAR, i % 2 ? '5' : '8', 0);
    };
    auto click = [&](int i) {
        int x = (i % 2) * ExpressionWindow::CellWidth + 50;
        SendMessageA(library.nativeWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 40));
    };
    HWND panel = library.panel.windowHandle;
    HWND slider = GetDlgItem(panel, ExpressionWindow::IdMix);
    auto slide = [&](int i) {
        SendMessageA(panel, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, i % 2 ? 40 : 60), LPARAM(slider));
    };
    std::vector<double> keys, clicks, slides;
    for (int i = -20; i < Rounds; ++i) {
        double k = milliseconds([&] { key(i); });
        double c = milliseconds([&] { click(i); });
        double s = milliseconds([&] { slide(i); });
        SendMessageA(panel, WM_HSCROLL, SB_ENDSCROLL, LPARAM(slider));
        pumpMessages();
        if (i < 0) continue; // warming up
        keys.push_back(k);
        clicks.push_back(c);
        slides.push_back(s);
    }
    double keyTime = median(keys), clickTime = median(clicks), slideTime = median(slides);
    std::printf("to the repainted face, median of %d each\n", Rounds);
    std::printf("  plain key press:             %7.3f ms\n", keyTime);
    std::printf("  click on a thumbnail:        %7.3f ms  (%.2f x the key)\n", clickTime,
                clickTime / keyTime);
    std::printf("  mix slider step:             %7.3f ms  (%.2f x the key)\n", slideTime,
                slideTime / keyTime);
    return 0;
}
