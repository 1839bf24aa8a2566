// The expression library in the whole program, in this process: clicks and
// slider moves arrive as the platform delivers them.
#include "app/ExpressionWindow.h"
#include "app/FaceApp.h"
#include "app/FaceCmdWindow.h"
#include "app/FaceTables.h"
#include "app/FileDialogState.h"
#include "expressions/ThumbnailKey.h"
#include "face/PoseFile.h"
#include "framework/draw/vWinDC.h"
#include "tests/win/WinTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

FaceApp app("TavokFace", 1, 0, 0);

ExpressionWindow* library() {
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

// A left click on the middle of expression `name`'s thumbnail.
void click(const char* name) {
    int index = indexOf(name) - library()->firstRow() * ExpressionWindow::Columns;
    int x = index % ExpressionWindow::Columns * ExpressionWindow::CellWidth + 50;
    int y = index / ExpressionWindow::Columns * ExpressionWindow::CellHeight + 40;
    SendMessageA(library()->nativeWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(library()->nativeWindow, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    pumpMessages(30);
}

// The mix slider as a drag moves it: a track position, or the release.
void slide(int code, int position = 0) {
    HWND slider = GetDlgItem(library()->panel.windowHandle, ExpressionWindow::IdMix);
    SendMessageA(library()->panel.windowHandle, WM_HSCROLL, MAKEWPARAM(code, position),
                 LPARAM(slider));
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string savedPose() {
    std::string path = besideThisProgram("saved.txt");
    EXPECT_EQ(app.mainWindow->canvasPane->writePoseFile(path.c_str()), PoseFileOk);
    return fileBytes(path);
}

std::string statusText() {
    char text[128] = "";
    app.mainWindow->getTextIn(IdStatusText, text, sizeof text);
    return text;
}

TEST(Expressions, CtrlLShowsTheShippedLibraryFirst) {
    command(IdExpressions);
    ASSERT_TRUE(library()->isShown());
    EXPECT_TRUE(GetMenuState(app.mainWindow->menuBar, IdExpressions, MF_BYCOMMAND) & MF_CHECKED);
    const char* shipped[] = {"angry",      "big smile", "happy",     "look left",
                             "look right", "neutral",   "sad",       "skeptical",
                             "sleepy",     "surprised", "wink left", "wink right"};
    ASSERT_GE(library()->listing().listed.size(), 12u);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(library()->listing().listed[std::size_t(i)].name, shipped[i]);
    // The editor keeps the keyboard.
    EXPECT_EQ(GetActiveWindow(), app.frameWindow);
}

TEST(Expressions, AClickGivesTheExpressionsBytesAndUndoTheFormerOnes) {
    std::string before = savedPose();
    click("big smile");
    EXPECT_EQ(savedPose(), fileBytes(library()->listing().listed[indexOf("big smile")].path));
    EXPECT_EQ(statusText(), "Expression big smile");
    command(IdUndo);
    EXPECT_EQ(savedPose(), before);
}

TEST(Expressions, FortyPercentOfSurprisedThenADragToAllIsOneUndoStep) {
    command(IdRestore);
    slide(SB_THUMBPOSITION, 40);
    click("surprised");
    const float* pose = app.mainWindow->canvasPane->pose;
    // From neutral: lids 30 and -30 toward 75 and -75, pupil 0.5 toward 0.3.
    EXPECT_FLOAT_EQ(pose[PoseLidFirst], 48);
    EXPECT_FLOAT_EQ(pose[PoseLidFirst + 1], -48);
    EXPECT_FLOAT_EQ(pose[PosePupil], 0.42f);
    EXPECT_FLOAT_EQ(pose[PoseMouthFirst + 2], -0.18f);
    std::string fortyPercent = savedPose();
    for (int percent : {70, 100})
        slide(SB_THUMBTRACK, percent);
    slide(SB_ENDSCROLL);
    pumpMessages(30);
    EXPECT_EQ(savedPose(), fileBytes(library()->listing().listed[indexOf("surprised")].path));
    command(IdUndo);
    EXPECT_EQ(savedPose(), fortyPercent);
}

TEST(Expressions, AFileThatIsNoPoseShowsGreyedWithTheReadersMessage) {
    std::string folder = besideThisProgram("own");
    CreateDirectoryA(folder.c_str(), nullptr);
    std::ofstream(folder + "\\broken.txt", std::ios::binary) << "<0,0,0>,0.5,\r\n30,x,\r\n";
    std::strcpy(lastDirectory, folder.c_str());
    command(IdExpressions);
    command(IdExpressions);
    int index = indexOf("broken");
    ASSERT_GE(index, 12);
    // Thirteen files do not fit: the scroll bar brings the last row.
    SendMessageA(library()->nativeWindow, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(library()->firstRow(), 1);
    EXPECT_EQ(library()->tipText(index),
              "line 2: expected \"n,n\": number 2 is missing or not a finite decimal number");
    std::string saved = savedPose();
    click("broken");
    EXPECT_EQ(savedPose(), saved);
    // Its cell holds no colour but greys.
    HDC screen = GetDC(nullptr);
    vWinDC picture;
    picture.hdc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, library()->width, library()->height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ before = SelectObject(picture.hdc, bitmap);
    library()->onRedraw(picture);
    int cell = index - library()->firstRow() * ExpressionWindow::Columns;
    int left = cell % ExpressionWindow::Columns * ExpressionWindow::CellWidth;
    int top = cell / ExpressionWindow::Columns * ExpressionWindow::CellHeight;
    int coloured = 0;
    for (int y = top; y < top + ExpressionWindow::CellHeight; ++y)
        for (int x = left; x < left + ExpressionWindow::CellWidth; ++x) {
            COLORREF c = GetPixel(picture.hdc, x, y);
            coloured += GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c);
        }
    SelectObject(picture.hdc, before);
    DeleteObject(bitmap);
    DeleteDC(picture.hdc);
    EXPECT_EQ(coloured, 0);
}

TEST(Expressions, PovrayRendersReplaceTheThumbnailsAndStayInTheCache) {
    DWORD deadline = GetTickCount() + 30000;
    while (library()->renderedCount() < 12 && GetTickCount() < deadline)
        pumpMessages(50);
    ASSERT_GE(library()->renderedCount(), 12) << "waited 30 s for the shipped thumbnails' renders";
    std::string key = thumbnailKey(fileBytes(library()->listing().listed[0].path), 96, 72);
    EXPECT_EQ(fileBytes(library()->cacheFolder() + key).substr(0, 2), "BM") << key;
    command(IdExpressions);
    command(IdExpressions);
    EXPECT_GE(library()->renderedCount(), 12);
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
    return RUN_ALL_TESTS();
}
