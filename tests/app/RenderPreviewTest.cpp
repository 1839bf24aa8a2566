// The render preview in the whole program, with Debian's POV-Ray under
// Wine. Placement beside the face, real key input, and saving and opening
// poses without POV-Ray are driven in TavokF.exe by RenderPreviewTest.sh.
#include "app/FaceApp.h"
#include "app/FaceCmdWindow.h"
#include "app/FaceTables.h"
#include "app/RenderPreview.h"
#include "face/FaceCanvasPane.h"
#include "face/PoseFile.h"
#include "render/Povray.h"
#include "tests/framework/ModalHelpers.h"
#include "tests/win/WinTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <string>

namespace {

FaceApp app("TavokFace", 1, 0, 0);

RenderPreview* preview() {
    return app.mainWindow->renderPreview;
}

void command(int id) {
    SendMessageA(app.frameWindow, WM_COMMAND, WPARAM(id), 0);
    pumpMessages(30);
}

void key(char c) {
    SendMessageA(app.mainWindow->nativeWindow, WM_CHAR, WPARAM(c), 0);
}

// Pumps messages until `done`, failing after `seconds` with `what`.
bool waitFor(const std::function<bool()>& done, double seconds, const char* what) {
    DWORD deadline = GetTickCount() + DWORD(seconds * 1000);
    while (!done()) {
        if (GetTickCount() > deadline) {
            ADD_FAILURE() << "waited " << seconds << " s for " << what << "; status \""
                          << preview()->status() << "\", message \"" << preview()->message()
                          << "\"";
            return false;
        }
        pumpMessages(20);
    }
    return true;
}

// Waits for the render after render number `before` to be on screen.
bool waitForRender(int before) {
    return waitFor(
        [before] {
            return preview()->renderCount() > before &&
                   preview()->status().compare(0, 8, "Rendered") == 0 &&
                   !GetUpdateRect(preview()->nativeWindow, nullptr, FALSE);
        },
        20, "a new render on screen");
}

bool menuChecked(int id) {
    return GetMenuState(app.mainWindow->menuBar, UINT(id), MF_BYCOMMAND) & MF_CHECKED;
}

TEST(RenderPreview, ALidChangeRerendersOnlyTheEyesOnceForABurstOfKeys) {
    command(IdRenderPreview);
    ASSERT_TRUE(preview()->isShown());
    EXPECT_TRUE(menuChecked(IdRenderPreview));
    ASSERT_TRUE(waitForRender(0));
    RgbImage first = preview()->image();
    ASSERT_EQ(first.width, RenderPreview::ImageWidth);
    ASSERT_EQ(first.height, RenderPreview::ImageHeight);

    // Ten quick presses lift the left upper lid ten degrees: one render,
    // of the last pose, written to the scratch folder, not the user's file.
    app.mainWindow->canvasPane->selection = 2;
    int before = preview()->renderCount();
    for (int i = 0; i < 10; ++i) {
        key('8');
        pumpMessages(RenderPreview::Pause / 10); // timers may fire between keys
    }
    ASSERT_TRUE(waitForRender(before));
    pumpMessages(RenderPreview::Pause + 200); // a trailing render would have begun
    EXPECT_EQ(preview()->renderCount(), before + 1);
    float rendered[13];
    ASSERT_EQ(readPoseFile(rendered, (preview()->scratchFolder() + "pose.txt").c_str()), 0);
    EXPECT_EQ(std::memcmp(rendered, app.mainWindow->canvasPane->pose, sizeof rendered), 0);

    // Only the eyes' part of the picture changed.
    const RgbImage& next = preview()->image();
    int eyes = 0, elsewhere = 0;
    for (int y = 0; y < first.height; ++y)
        for (int x = 0; x < first.width; ++x)
            if (std::memcmp(first.pixel(x, y), next.pixel(x, y), 3) != 0)
                ++(x >= 90 && x < 230 && y >= 50 && y < 130 ? eyes : elsewhere);
    EXPECT_GT(eyes, 0) << "the render did not change";
    EXPECT_EQ(elsewhere, 0) << "pixels changed outside the eyes";
}

TEST(RenderPreview, SavesTheRenderAsBmpOrPng) {
    ASSERT_FALSE(preview()->image().rgb.empty());
    for (const char* name : {"render.bmp", "render.PNG"}) {
        std::string path = besideThisProgram(name);
        DeleteFileA(path.c_str());
        ASSERT_TRUE(preview()->saveImage(path.c_str())) << path;
        char start[2] = {};
        FILE* file = std::fopen(path.c_str(), "rb");
        ASSERT_TRUE(file && std::fread(start, 1, 2, file) == 2) << path;
        std::fclose(file);
        DeleteFileA(path.c_str());
        EXPECT_EQ(std::string(start, 2), name[7] == 'b' ? "BM" : "\x89P") << path;
    }
}

TEST(RenderPreview, F5OrTheCloseBoxHidesIt) {
    command(IdRenderPreview);
    EXPECT_FALSE(preview()->isShown() || menuChecked(IdRenderPreview));
    command(IdRenderPreview);
    ASSERT_TRUE(preview()->isShown());
    SendMessageA(preview()->nativeWindow, WM_CLOSE, 0, 0);
    pumpMessages(30);
    EXPECT_FALSE(preview()->isShown() || menuChecked(IdRenderPreview));
}

TEST(RenderPreview, AFailingSceneShowsPovraysErrorLines) {
    command(IdRenderPreview);
    // A value POV-Ray cannot read makes the scene fail to parse.
    float* pose = app.mainWindow->canvasPane->pose;
    float eyeX = pose[0];
    pose[0] = std::numeric_limits<float>::quiet_NaN();
    app.mainWindow->poseChanged();
    ASSERT_TRUE(
        waitFor([] { return preview()->status() == "Render failed"; }, 20, "the failed render"));
    EXPECT_NE(preview()->message().find("Parse Error"), std::string::npos) << preview()->message();
    pose[0] = eyeX;
    command(IdRenderPreview);
}

TEST(RenderPreview, WithoutPovrayItSaysWhatToDoAndNoRenderStarts) {
    SetEnvironmentVariableA(PovrayVariable, "C:\\nowhere\\povray.exe");
    int before = preview()->renderCount();
    command(IdRenderPreview);
    EXPECT_EQ(preview()->message(), povrayMissingText);
    key('8');
    pumpMessages(RenderPreview::Pause + 200);
    EXPECT_EQ(preview()->renderCount(), before);
    command(IdRenderPreview);
    SetEnvironmentVariableA(PovrayVariable, nullptr);
}

TEST(RenderPreview, ExitEndsTheRunningRenderAndRemovesTheScratchFolder) {
    command(IdRenderPreview);
    key('8');
    ASSERT_TRUE(waitFor([] { return preview()->status().compare(0, 9, "Rendering") == 0; }, 5,
                        "a render to start"));
    std::string folder = preview()->scratchFolder();
    ASSERT_FALSE(folder.empty());
    command(IdExit);
    int code = -1;
    EXPECT_TRUE(takeQuit(code));
    EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES) << folder;
    for (vWindow* closed : app.deleteList)
        delete closed;
    app.deleteList.clear();
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // A settings file already there: no notice at the start.
    std::ofstream(besideThisProgram("TavokF.ini"), std::ios::binary) << "C:\\\r\n";
    char program[] = "render_preview_tests";
    char* args[] = {program, nullptr};
    int count = 1;
    app.initApp(count, args, GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL);
    appMain(count, args);
    pumpMessages(100);
    answerDialogs(nullptr); // a box no test expects fails it and is closed
    return RUN_ALL_TESTS();
}
