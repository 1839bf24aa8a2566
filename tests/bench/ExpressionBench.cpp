// Prints the time the expression library takes to show the 2-D thumbnails
// of a folder of 100 poses, and the median time from a click on a thumbnail
// and from a step of the mix slider to the repainted face, beside a plain
// key press. POV-Ray is kept out of these figures.
#include "app/ExpressionWindow.h"
#include "app/FaceTables.h"
#include "app/FileDialogState.h"
#include "expressions/ExpressionMix.h"
#include "face/PoseFile.h"
#include "render/Povray.h"
#include "tests/bench/BenchApp.h"
#include "tests/bench/BenchTiming.h"

#include <cstdio>
#include <cstring>
#include <string>

static FaceApp application("TavokFace", 1, 0, 0);

int main() {
    SetEnvironmentVariableA(PovrayVariable, "C:\\nowhere\\povray.exe");
    FaceCmdWindow* window = openMainWindow("expression_bench");
    ExpressionWindow& library = *window->expressionWindow;
    auto toggle = [&](int) {
        SendMessageA(application.frameWindow, WM_COMMAND, IdExpressions, 0);
        UpdateWindow(library.nativeWindow);
    };
    // Two folders of 100 poses; every showing reads the other one.
    toggle(0);
    std::string folders[2];
    for (int f = 0; f < 2; ++f) {
        folders[f] = "C:\\expression-bench" + std::to_string(f);
        CreateDirectoryA(folders[f].c_str(), nullptr);
        for (int i = 0; i < 100; ++i) {
            float pose[PoseCount];
            mixPose(library.listing().listed[0].pose, library.listing().listed[1].pose,
                    (i + f) / 101.0, pose);
            writePoseFile(pose, (folders[f] + "\\pose" + std::to_string(i) + ".txt").c_str());
        }
    }
    toggle(0);
    auto reopen = [&](int i) {
        toggle(0);
        std::strcpy(lastDirectory, folders[i % 2].c_str());
        toggle(0);
    };
    std::printf("showing a folder of 100 poses, 2-D thumbnails on screen: %.2f ms (median of 20)\n",
                medianOf(20, 1e3, reopen));
    HWND panel = library.panel.windowHandle, slider = GetDlgItem(panel, ExpressionWindow::IdMix);
    auto key = [&](int i) {
        window->document.pose().selection = HandleMouthFirst + 2;
        SendMessageA(window->nativeWindow, WM_CHAR, i % 2 ? '5' : '8', 0);
    };
    auto click = [&](int i) {
        int x = (i % 2) * ExpressionWindow::CellWidth + 50;
        SendMessageA(library.nativeWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 40));
    };
    auto slide = [&](int i) {
        SendMessageA(panel, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, i % 2 ? 40 : 60), LPARAM(slider));
    };
    click(0);
    double keyTime = medianOf(200, 1e3, key), clickTime = medianOf(200, 1e3, click);
    click(0);
    double slideTime = medianOf(200, 1e3, slide);
    SendMessageA(panel, WM_HSCROLL, SB_ENDSCROLL, LPARAM(slider));
    std::printf("to the repainted face, median of 200 each: plain key press %.3f ms\n", keyTime);
    std::printf("  click on a thumbnail:  %7.3f ms  (%.2f x the key)\n", clickTime,
                clickTime / keyTime);
    std::printf("  mix slider step:       %7.3f ms  (%.2f x the key)\n", slideTime,
                slideTime / keyTime);
    return 0;
}
