// The expression library in the whole program, in this process; its POV-Ray
// renders are checked from outside, by ExpressionsProgramTest.sh.
#include "app/ExpressionWindow.h"
#include "app/FaceApp.h"
#include "app/FaceCmdWindow.h"
#include "app/FaceTables.h"
#include "app/FileDialogState.h"
#include "app/RenderPreview.h"
#include "expressions/ThumbnailKey.h"
#include "face/PoseFile.h"
#include "render/ChildStart.h"
#include "tests/win/WinTest.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
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
    // Shown before the search for POV-Ray answers: the window never waits for it.
    SendMessageA(app.frameWindow, WM_COMMAND, WPARAM(IdExpressions), 0);
    ASSERT_TRUE(library()->isShown());
    EXPECT_TRUE(library()->lookingForPovray());
    pumpMessages(30);
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

// Files written through wide names into `folder`, which becomes the
// remembered one (in the dialogs' code page) and is shown.
void showFolder(const std::wstring& folder, const std::vector<std::wstring>& names) {
    CreateDirectoryW(folder.c_str(), nullptr);
    std::string pose = fileBytes(library()->listing().listed[0].path);
    // Bytes after the eighth line differ, and so do the renders' names.
    for (const std::wstring& name : names)
        std::ofstream(std::filesystem::path(folder + L"\\" + name), std::ios::binary)
            << pose << utf8Text(name);
    WideCharToMultiByte(CP_ACP, 0, folder.c_str(), -1, lastDirectory, FileNameSize, nullptr,
                        nullptr);
    command(IdExpressions);
    command(IdExpressions);
    SendMessageA(library()->nativeWindow, WM_VSCROLL, SB_BOTTOM, 0);
}

// The folder, the files and the Temp folder (see main) have names beyond
// ASCII: the files are poses, their tips give their names, POV-Ray's render
// replaces the 2-D face, and a file added shows by itself.
TEST(Expressions, NamesBeyondAsciiAreReadAndRendered) {
    std::wstring folder = wideText(besideThisProgram("José €"));
    showFolder(folder, {L"café.txt", L"日本.txt"});
    ASSERT_TRUE(pumpUntil([] { return indexOf("日本") >= 0; }, 3000)) << "日本.txt listed";
    EXPECT_TRUE(library()->listing().listed[std::size_t(indexOf("café"))].valid);
    EXPECT_TRUE(library()->listing().listed[std::size_t(indexOf("日本"))].valid);
    EXPECT_EQ(library()->tipText(indexOf("日本")), "日本");
    POINT at = cellOf("café");
    auto rendered = [&] {
        UpdateWindow(library()->nativeWindow);
        HDC dc = GetDC(library()->nativeWindow);
        COLORREF corner = GetPixel(dc, at.x + 12, at.y + 7);
        ReleaseDC(library()->nativeWindow, dc);
        return corner != RGB(255, 255, 255);
    };
    EXPECT_TRUE(pumpUntil(rendered, 20000)) << "POV-Ray's render of café.txt";
    CopyFileW((folder + L"\\café.txt").c_str(), (folder + L"\\ñandú.txt").c_str(), FALSE);
    EXPECT_TRUE(pumpUntil([] { return indexOf("ñandú") >= 0; }, 3000)) << "ñandú.txt listed";
}

// 500 files shown, 2 in the last row: the count of those not shown has the
// row below to itself.
TEST(Expressions, TheCountOfFilesNotShownHasARowOfItsOwn) {
    std::vector<std::wstring> names;
    for (int i = 0; i < MaxListedExpressions - 12 + 1; ++i)
        names.push_back(L"p" + std::to_wstring(1000 + i) + L".txt");
    showFolder(wideText(besideThisProgram("many")), names);
    ASSERT_EQ(library()->listing().notListed, 1);
    UpdateWindow(library()->nativeWindow);
    int countRow = MaxListedExpressions / Window::Columns + 1 - library()->firstRow();
    HDC dc = GetDC(library()->nativeWindow);
    int dark = 0;
    for (int x = 8; x < Window::CellWidth * Window::Columns; ++x)
        for (int y = countRow * Window::CellHeight; y < countRow * Window::CellHeight + 24; ++y)
            dark += GetPixel(dc, x, y) == RGB(0, 0, 0);
    ReleaseDC(library()->nativeWindow, dc);
    EXPECT_GT(dark, 0) << "text in the row below the last thumbnails";
    // A fine wheel's thirds of a notch add up to a row.
    int row = library()->firstRow();
    for (int i = 0; i < 3; ++i)
        SendMessageA(library()->nativeWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 3), 0);
    EXPECT_EQ(library()->firstRow(), row - 1);
}

// After a change the preview renders alone: a thumbnail render that runs
// is ended first.
TEST(Expressions, ThePreviewRendersAloneAfterAClick) {
    const RenderPreview& preview = *app.mainWindow->renderPreview;
    command(IdRenderPreview);
    ASSERT_TRUE(pumpUntil([&] { return !preview.busy(); }, 20000)) << "the preview's first render";
    ASSERT_TRUE(pumpUntil([] { return library()->rendering(); }, 20000)) << "a thumbnail render";
    int renders = preview.renderCount();
    SendMessageA(library()->nativeWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 40));
    bool together = false;
    EXPECT_TRUE(pumpUntil(
        [&] {
            together |= preview.status().compare(0, 9, "Rendering") == 0 && library()->rendering();
            return preview.renderCount() > renders && !preview.busy();
        },
        20000))
        << "the preview's render after the click";
    EXPECT_FALSE(together);
    command(IdRenderPreview);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The renders' scratch folder goes under a Temp folder beyond ASCII.
    std::wstring temp = wideText(besideThisProgram("Temp José € 日本"));
    CreateDirectoryW(temp.c_str(), nullptr);
    SetEnvironmentVariableW(L"TMP", temp.c_str());
    SetEnvironmentVariableW(L"TEMP", temp.c_str());
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

namespace {

// Where the render of file `name` is kept: the scratch folder is under the
// Temp folder main made.
std::filesystem::path keptRender(const char* name) {
    const Expression& expression = library()->listing().listed[std::size_t(indexOf(name))];
    std::string key = thumbnailKey(expression.bytesHash, Window::ThumbWidth, Window::ThumbHeight);
    std::filesystem::path temp = wideText(besideThisProgram("Temp José € 日本"));
    for (const auto& folder : std::filesystem::directory_iterator(temp))
        if (std::filesystem::exists(folder.path() / key)) return folder.path() / key;
    return {};
}

// A kept render that no longer reads goes and is rendered again, once: the
// second time it stays 2-D, and its tip says why.
TEST(Expressions, ADamagedKeptRenderIsRenderedAgainOnce) {
    showFolder(wideText(besideThisProgram("damaged")), {L"dented.txt"});
    std::filesystem::path kept;
    ASSERT_TRUE(pumpUntil([&] { return !(kept = keptRender("dented")).empty(); }, 20000))
        << "the render of dented.txt";
    auto damage = [&] {
        std::ofstream(kept, std::ios::binary) << "damaged";
        library()->reload();
    };
    damage();
    auto renderedAgain = [&] {
        std::ostringstream bytes;
        bytes << std::ifstream(kept, std::ios::binary).rdbuf();
        return std::filesystem::exists(kept) && bytes.str() != "damaged";
    };
    EXPECT_TRUE(pumpUntil(renderedAgain, 20000)) << "dented.txt rendered again";
    damage();
    std::string tip;
    EXPECT_TRUE(pumpUntil(
        [&] { return (tip = library()->tipText(indexOf("dented"))).find("read back") != tip.npos; },
        5000))
        << "the tip naming the damaged render";
    EXPECT_EQ(tip.find("tried again"), tip.npos) << tip;
    EXPECT_FALSE(pumpUntil([&] { return std::filesystem::exists(kept); }, 2000))
        << "a third render of dented.txt";
}

} // namespace
