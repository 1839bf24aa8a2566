// Prints the time the expression library takes to show the 2-D thumbnails
// of a folder of 100 poses, and the median time from a click on a thumbnail
// and from a step of the mix slider to the repainted face, beside a plain
// key press; then the time from keys posted to the editor, as typing does,
// to the repainted face with the library closed and showing folders of 100
// and 5,000 poses. POV-Ray is kept out of these figures.
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
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

static FaceApp application("TavokFace", 1, 0, 0);

namespace {

// Keys posted to `editor` every 20 ms for 8 s from another thread, as typed;
// the mean, the 95th percentile and the slowest of the time each waited and
// took until the face was repainted, in ms.
void keyLatency(const char* what, HWND editor) {
    const int keys = 400;
    std::vector<double> posted(keys), times;
    std::thread typist([&] {
        for (int i = 0; i < keys; ++i) {
            posted[std::size_t(i)] = secondsNow();
            PostMessageA(editor, WM_CHAR, i % 2 ? '5' : '8', 0);
            Sleep(20);
        }
    });
    MSG message;
    while (int(times.size()) < keys && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (message.message != WM_CHAR || message.hwnd != editor) continue;
        UpdateWindow(editor);
        GdiFlush();
        times.push_back((secondsNow() - posted[times.size()]) * 1e3);
    }
    typist.join();
    double sum = 0;
    for (double time : times)
        sum += time;
    std::sort(times.begin(), times.end());
    std::printf("  %-34s mean %7.3f ms, 95th percentile %7.3f ms, slowest %7.3f ms\n", what,
                sum / keys, times[std::size_t(keys * 95 / 100)], times.back());
}

} // namespace

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

    std::string many = "C:\\expression-bench-5000";
    CreateDirectoryA(many.c_str(), nullptr);
    std::ostringstream pose;
    pose << std::ifstream(library.listing().listed[0].path, std::ios::binary).rdbuf();
    for (int i = 0; i < 5000; ++i)
        std::ofstream(many + "\\pose" + std::to_string(i) + ".txt", std::ios::binary)
            << pose.str() << i;
    std::printf("keys typed to the repainted face, 400 keys 20 ms apart each:\n");
    toggle(0);
    window->canvasPane->selection = HandleMouthFirst + 2;
    keyLatency("the library closed", window->nativeWindow);
    for (const std::string& folder : {folders[0], many}) {
        std::strcpy(lastDirectory, folder.c_str());
        toggle(0);
        keyLatency(("the library showing " + std::to_string(folder == many ? 5000 : 100) + " poses")
                       .c_str(),
                   window->nativeWindow);
        toggle(0);
    }
    return 0;
}
