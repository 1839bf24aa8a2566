// The expression library in the whole program, in this process; its POV-Ray
// renders are checked from outside, by ExpressionsProgramTest.sh.
#include "app/ExpressionWindow.h"
#include "app/FaceApp.h"
#include "app/FaceCmdWindow.h"
#include "app/FaceTables.h"
#include "app/FileDialogState.h"
#include "face/PoseFile.h"
#include "tests/win/WinTest.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

namespace {

FaceApp app("TavokFace", 1, 0, 0);
using Window = ExpressionWindow;

Window* library() {
    return app.mainWindow->expressionWindow;
}

void command(int id) {
    SendMessageA(app.frameWindow, WM_COMMAND, WPARAM(id), 0);
    pumpMessages(30);
}

int indexOf(const char* name) {
    const auto& listed = library()->listing().listed;
    for (std::size_t i = 0; i < listed.size(); ++i)
        if (listed[i].name == name) return int(i);
    return -1;
}

// The top-left corner of expression `name`'s cell.
POINT cellOf(const char* name) {
    int cell = indexOf(name) - library()->firstRow() * Window::Columns;
    return {cell % Window::Columns * Window::CellWidth,
            cell / Window::Columns * Window::CellHeight};
}

void click(const char* name) {
    POINT at = cellOf(name);
    SendMessageA(library()->nativeWindow, WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(at.x + 50, at.y + 40));
    pumpMessages(30);
}

// The mix slider as a drag moves it: a track position, or the release.
void slide(int code, int position) {
    HWND panel = library()->panel.windowHandle;
    SendMessageA(panel, WM_HSCROLL, MAKEWPARAM(code, position),
                 LPARAM(GetDlgItem(panel, Window::IdMix)));
}

std::string savedPose() {
    std::string path = besideThisProgram("saved.txt");
    EXPECT_EQ(app.mainWindow->canvasPane->writePoseFile(path.c_str()), PoseFileOk);
    return fileBytes(path);
}

std::string expressionFile(const char* name) {
    return fileBytes(library()->listing().listed[std::size_t(indexOf(name))].path);
}

TEST(Expressions, CtrlLShowsTheShippedLibraryFirstAndLeavesTheKeyboard) {
    command(IdExpressions);
    ASSERT_TRUE(library()->isShown());
    EXPECT_TRUE(GetMenuState(app.mainWindow->menuBar, IdExpressions, MF_BYCOMMAND) & MF_CHECKED);
    std::string names;
    for (const Expression& expression : library()->listing().listed)
        names += expression.name + ",";
    EXPECT_EQ(names.substr(0, 103), "angry,big smile,happy,look left,look right,neutral,sad,"
                                    "skeptical,sleepy,surprised,wink left,wink right,");
    EXPECT_EQ(GetActiveWindow(), app.frameWindow);
}

TEST(Expressions, AClickGivesTheBytesAndUndoTheFormerOnesThenFortyPercentAndADragToAll) {
    command(IdRestore);
    std::string before = savedPose();
    click("big smile");
    EXPECT_EQ(savedPose(), expressionFile("big smile"));
    char status[64] = "";
    app.mainWindow->getTextIn(IdStatusText, status, sizeof status);
    EXPECT_STREQ(status, "Expression big smile");
    command(IdUndo);
    EXPECT_EQ(savedPose(), before);
    slide(SB_THUMBPOSITION, 40);
    click("surprised");
    // From neutral: lids 30 and -30 toward 75 and -75, pupil 0.5 toward 0.3.
    const float* pose = app.mainWindow->canvasPane->pose;
    EXPECT_FLOAT_EQ(pose[PoseLidFirst], 48);
    EXPECT_FLOAT_EQ(pose[PoseLidFirst + 1], -48);
    EXPECT_FLOAT_EQ(pose[PosePupil], 0.42f);
    EXPECT_FLOAT_EQ(pose[PoseMouthFirst + 2], -0.18f);
    std::string fortyPercent = savedPose();
    for (int position : {70, 100, -1})
        slide(position < 0 ? SB_ENDSCROLL : SB_THUMBTRACK, position);
    EXPECT_EQ(savedPose(), expressionFile("surprised"));
    command(IdUndo);
    EXPECT_EQ(savedPose(), fortyPercent);
}

// With the timeline shown, a drag of the slider is one step, and a key
// pressed during it is one of its own, undone in the order they came.
TEST(Expressions, WithTheTimelineASliderDragIsOneStepAndAKeyInItItsOwn) {
    Document& document = app.mainWindow->document;
    command(IdTimeline);
    const Animation keys = document.animation();
    const PoseState pose = document.model().state();
    click("happy");
    for (int position : {50, 60, 70})
        slide(SB_THUMBTRACK, position);
    SendMessageA(app.mainWindow->nativeWindow, WM_CHAR, '8', 0);
    slide(SB_THUMBTRACK, 80);
    slide(SB_ENDSCROLL, -1);
    for (const char* name : {"Key 8", "Expression happy", "Expression happy"}) {
        ASSERT_NE(document.undoStep(), nullptr);
        EXPECT_EQ(document.undoStep()->name, name);
        command(IdUndo);
    }
    EXPECT_TRUE(document.animation() == keys);
    EXPECT_EQ(std::memcmp(document.model().pose, pose.pose, sizeof pose.pose), 0);
    command(IdTimeline);
}

TEST(Expressions, AFileThatIsNoPoseShowsGreyedWithTheReadersMessage) {
    std::string folder = besideThisProgram("own");
    CreateDirectoryA(folder.c_str(), nullptr);
    std::ofstream(folder + "\\broken.txt", std::ios::binary) << "<0,0,0>,0.5,\r\n30,x,\r\n";
    std::strcpy(lastDirectory, folder.c_str());
    command(IdExpressions);
    command(IdExpressions);
    // Thirteen files do not fit: the scroll bar brings the last row.
    SendMessageA(library()->nativeWindow, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(library()->firstRow(), 1);
    EXPECT_EQ(library()->tipText(indexOf("broken")),
              "line 2: expected \"n,n\": number 2 is missing or not a finite decimal number");
    std::string saved = savedPose();
    click("broken");
    EXPECT_EQ(savedPose(), saved);
    UpdateWindow(library()->nativeWindow);
    HDC dc = GetDC(library()->nativeWindow);
    POINT at = cellOf("broken");
    EXPECT_EQ(GetPixel(dc, at.x + 56, at.y + 40), RGB(208, 208, 208));
    ReleaseDC(library()->nativeWindow, dc);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // A settings file already there: no notice at the start.
    std::ofstream(besideThisProgram("TavokF.ini"), std::ios::binary) << "C:\\\r\n";
    char program[] = "expression_window_tests";
    char* args[] = {program, nullptr};
    int count = 1;
    app.initApp(count, args, GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL);
    appMain(count, args);
    pumpMessages(100);
    int result = RUN_ALL_TESTS();
    command(IdExit); // the scratch folder goes
    return result;
}
