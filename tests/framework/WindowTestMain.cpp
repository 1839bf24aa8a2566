// Runs the window tests inside one application in multi-window mode; its
// frame exists for the whole run.
#include "framework/app/vApp.h"
#include "tests/framework/ModalHelpers.h"

#include <gtest/gtest.h>

namespace {

vApp application("Framework tests", 0, 0, 0);

} // namespace

// The frame's outer size right after start-up, before the window manager
// had a chance to change it.
SIZE frameAtStart;

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    char program[] = "framework_window_tests";
    char* args[] = {program, nullptr};
    int count = 1;
    theApp->initApp(count, args, GetModuleHandleA(nullptr), nullptr, SW_SHOWMAXIMIZED);
    RECT frame;
    GetWindowRect(theApp->frameWindow, &frame);
    frameAtStart = {frame.right - frame.left, frame.bottom - frame.top};
    answerDialogs(nullptr); // a box no test expects fails it and is closed
    return RUN_ALL_TESTS();
}
