// The render preview in the whole program, with Debian's POV-Ray under
// Wine. Placement beside the face, real key input, and saving and opening
// poses without POV-Ray are driven in TavokF.exe by RenderPreviewTest.sh.
#include "app/FaceApp.h"
#include "app/FaceCmdWindow.h"
#include "app/AnimationRenderer.h"
#include "app/FaceTables.h"
#include "app/RenderPreview.h"
#include "face/FaceCanvasPane.h"
#include "face/PoseFile.h"
#include "framework/draw/vMemoryDC.h"
#include "render/Povray.h"
#include "render/WicImage.h"
#include "tests/framework/ModalHelpers.h"
#include "tests/win/WinTest.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    app.mainWindow->document.pose().selection = 2;
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

TEST(RenderPreview, SaveRenderAsReplacesTheFileWithACompressedPng) {
    const RgbImage& shown = preview()->image();
    ASSERT_FALSE(shown.rgb.empty());
    // "shot" typed under the PNG filter becomes shot.png, replacing the one there.
    std::string typed = besideThisProgram("shot");
    std::ofstream(typed + ".png") << "old";
    answerDialogs([typed](HWND box, bool fileDialog) {
        if (fileDialog) SetWindowTextA(fileNameField(box), typed.c_str());
        return PostMessageA(box, WM_COMMAND, fileDialog ? IDOK : IDYES, 0) != 0;
    });
    command(IdSaveRender);
    stopAnswering();
    std::string bytes = fileBytes(typed + ".png");
    RgbImage back;
    EXPECT_TRUE(WicImage::decode(bytes, back) && back.rgb == shown.rgb);
    // Stored deflate blocks would take more than the pixels' own bytes.
    EXPECT_EQ(bytes.compare(0, 4, "\x89PNG"), 0);
    EXPECT_LT(bytes.size(), shown.rgb.size() / 4);
    EXPECT_TRUE(DeleteFileA((typed + ".png").c_str()));
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

TEST(RenderPreview, StaysBesideTheFrameWithinTheWorkAreaAndClearOfTheFace) {
    command(IdRenderPreview);
    HWND frame = app.frameWindow;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(frame, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT& work = monitor.rcWork;
    RECT p, f, face, overlap;
    GetWindowRect(preview()->nativeWindow, &p);
    int width = p.right - p.left;
    // The frame's left and width; none: maximised.
    struct {
        const char* what;
        int left, width;
    } cases[] = {{"room on the right", 0, 400},
                 {"room on neither side: below", width / 4, work.right - work.left - width / 2},
                 {"maximised: over its right edge", 0, 0}};
    for (const auto& c : cases) {
        ShowWindow(frame, c.width ? SW_RESTORE : SW_MAXIMIZE);
        if (c.width)
            SetWindowPos(frame, nullptr, work.left + c.left, work.top + 20, c.width, 300,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        pumpMessages(200);
        GetWindowRect(frame, &f);
        GetWindowRect(preview()->nativeWindow, &p);
        ASSERT_TRUE(preview()->areaToKeepClear(face));
        EXPECT_FALSE(IntersectRect(&overlap, &p, &face)) << c.what;
        EXPECT_TRUE(p.left >= work.left && p.top >= work.top && p.right <= work.right &&
                    p.bottom <= work.bottom)
            << c.what;
        POINT expected = &c == cases ? POINT{f.right, f.top}
                         : c.width   ? POINT{p.left, f.bottom}
                                     : POINT{std::min(f.right, work.right) - width, p.top};
        EXPECT_TRUE(p.left == expected.x && p.top == expected.y)
            << c.what << ": at " << p.left << "," << p.top;
    }
    ShowWindow(frame, SW_RESTORE);
    command(IdRenderPreview);
}

TEST(RenderPreview, AFailingSceneShowsPovraysErrorLines) {
    command(IdRenderPreview);
    // A value POV-Ray cannot read makes the scene fail to parse.
    float* pose = app.mainWindow->canvasPane->pose;
    float eyeX = pose[0];
    pose[0] = std::numeric_limits<float>::quiet_NaN();
    preview()->poseChanged();
    ASSERT_TRUE(
        waitFor([] { return preview()->status() == "POV-Ray failed"; }, 20, "the failed render"));
    EXPECT_NE(preview()->message().find("Parse Error"), std::string::npos) << preview()->message();
    // Drawn on a sheet twice as wide, the long lines stay within the preview.
    vMemoryDC sheet(2 * RenderPreview::ImageWidth, RenderPreview::ImageHeight);
    sheet.setBackground(vColor(255, 255, 255));
    sheet.clear();
    preview()->onRedraw(sheet);
    sheet.beginDraw();
    int beyond = 0;
    for (int y = 0; y < RenderPreview::ImageHeight; ++y)
        for (int x = RenderPreview::ImageWidth + 1; x < 2 * RenderPreview::ImageWidth; ++x)
            beyond += GetPixel(sheet.hdc, x, y) != RGB(255, 255, 255);
    sheet.endDraw();
    EXPECT_EQ(beyond, 0) << "pixels of text beyond the preview's width";
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

// While the animation renders, the preview waits, whatever moved the pose
// (here the timeline's playhead); it catches up when the render ends.
TEST(RenderPreview, PausesWhileTheAnimationRendersAndCatchesUpAfter) {
    Document& document = app.mainWindow->document;
    command(IdRenderPreview);
    command(IdTimeline);
    key('k');
    for (int frame = 0; frame < 10; ++frame)
        SendMessageA(app.mainWindow->nativeWindow, WM_KEYDOWN, VK_RIGHT, 0);
    key('8');
    ASSERT_TRUE(waitForRender(preview()->renderCount()));
    RenderRequest request;
    request.folder = besideThisProgram("frames");
    // Large enough frames that it still renders at the check.
    request.width = 640;
    request.height = 480;
    request.last = document.lastFrame();
    request.gif = false;
    ASSERT_TRUE(app.mainWindow->animationRenderer->start(document.animation(), request));
    int before = preview()->renderCount();
    SendMessageA(app.mainWindow->nativeWindow, WM_KEYDOWN, VK_HOME, 0);
    pumpMessages(RenderPreview::Pause + 300);
    EXPECT_EQ(preview()->renderCount(), before) << "a preview render beside the animation's";
    ASSERT_TRUE(app.mainWindow->animationRenderer->rendering()) << "it ended before the check";
    app.mainWindow->animationRenderer->cancel();
    EXPECT_TRUE(waitForRender(before));
    command(IdTimeline);
    command(IdRenderPreview);
}

TEST(RenderPreview, ExitEndsTheRunningRenderAndRemovesTheScratchFolder) {
    command(IdRenderPreview);
    key('8');
    ASSERT_TRUE(
        waitFor([] { return preview()->status() == "Rendering..."; }, 5, "a render to start"));
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
