#include "tests/framework/ModalHelpers.h"

#include "tests/win/WinTest.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr UINT TickMs = 50;
constexpr DWORD AgainMs = 1000, DeadlineMs = 10000;

// A box as the watch has met it.
struct Box {
    DWORD seen;
    DWORD answered = 0;
    DWORD ended = 0;
    bool failed = false;
};

std::map<UINT_PTR, std::function<void()>> actions;
BoxAnswer answer, answerOutsideTests;
bool answering = false, answeringOutsideTests = false;
std::map<HWND, Box> boxes;
UINT_PTR watchTimer = 0;

std::string textOf(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK addShownText(HWND child, LPARAM text) {
    char kind[16] = "";
    GetClassNameA(child, kind, sizeof kind);
    bool showsText = lstrcmpiA(kind, "Static") == 0 || lstrcmpiA(kind, "Edit") == 0;
    if (showsText && IsWindowVisible(child)) {
        auto& all = *reinterpret_cast<std::string*>(text);
        all += (all.empty() ? "" : " | ") + textOf(child);
    }
    return TRUE;
}

// A box's title and the texts it shows.
std::string describe(HWND box) {
    std::string text;
    EnumChildWindows(box, addShownText, reinterpret_cast<LPARAM>(&text));
    return "\"" + textOf(box) + "\" showing \"" + text + "\"";
}

// The whole screen as a bitmap file beside the test program; its path.
std::string screenshot() {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP shot = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, shot);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    BITMAPFILEHEADER file = {};
    DWORD size = DWORD((width * 3 + 3) / 4 * 4 * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + size;
    std::string path = besideThisProgram("stuck-dialog.bmp");
    if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info, sizeof info, 1, out);
        std::fwrite(bits, 1, size, out);
        std::fclose(out);
    }
    SelectObject(memory, old);
    DeleteObject(shot);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return path;
}

// A file dialog is cancelled; any other box gets its default button.
void close(HWND box, bool fileDialog) {
    LRESULT def = SendMessageA(box, DM_GETDEFID, 0, 0);
    HWND button = HIWORD(def) == DC_HASDEFID ? GetDlgItem(box, LOWORD(def)) : nullptr;
    if (!fileDialog && button)
        PostMessageA(button, BM_CLICK, 0, 0);
    else
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
}

// A file dialog takes a name once its name field shows; other boxes at once.
bool ready(HWND box, bool fileDialog) {
    if (!fileDialog) return true;
    HWND field = fileNameField(box);
    return IsWindowVisible(field) && IsWindowEnabled(field) && GetDlgItem(box, IDOK);
}

// Boxes are modal dialogs (with a modal frame); modeless ones are left alone.
BOOL CALLBACK addOpenBox(HWND window, LPARAM list) {
    char kind[16] = "";
    GetClassNameA(window, kind, sizeof kind);
    bool modal = GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME;
    if (std::string(kind) == "#32770" && modal && IsWindowVisible(window) &&
        IsWindowEnabled(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// Past the deadline a box is ended for certain, whatever it does with OK
// and Cancel: EndDialog, and a second later DestroyWindow.
void end(HWND box, Box& state, DWORD now) {
    if (!state.ended) {
        ADD_FAILURE() << "dialog " << describe(box)
                      << " still open after 10 s; ended; the screen: " << screenshot();
        state.ended = now;
        EndDialog(box, IDCANCEL);
    } else if (now - state.ended >= AgainMs) {
        DestroyWindow(box);
    }
}

void CALLBACK watch(HWND, UINT, UINT_PTR, DWORD) {
    DWORD now = GetTickCount();
    for (auto at = boxes.begin(); at != boxes.end();) {
        if (!IsWindow(at->first)) {
            at = boxes.erase(at);
            continue;
        }
        if (at->second.ended) end(at->first, at->second, now);
        ++at;
    }
    std::vector<HWND> open;
    EnumThreadWindows(GetCurrentThreadId(), addOpenBox, reinterpret_cast<LPARAM>(&open));
    for (HWND box : open) {
        auto [at, isNew] = boxes.try_emplace(box, Box{now});
        Box& state = at->second;
        bool fileDialog = fileNameField(box) != nullptr;
        if (now - state.seen > DeadlineMs) {
            if (!state.ended) end(box, state, now);
            continue;
        }
        // A box is answered from the tick after it showed, when it had time to settle.
        if (isNew || (state.answered && now - state.answered < AgainMs)) continue;
        if (!state.failed && answering && ready(box, fileDialog)) {
            state.answered = now;
            if (answer && answer(box, fileDialog)) continue;
            state.failed = true;
            ADD_FAILURE() << "unexpected dialog " << describe(box) << "; closed";
        }
        if (state.failed) {
            state.answered = now;
            close(box, fileDialog);
        }
    }
}

// Actions and answers end with the test that set them; the watch goes on.
void reset() {
    for (auto& action : actions)
        KillTimer(nullptr, action.first);
    actions.clear();
    boxes.clear();
    answer = answerOutsideTests;
    answering = answeringOutsideTests;
}

class EndWithTheTest : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { reset(); }
    void OnTestEnd(const testing::TestInfo&) override { reset(); }
};

void startWatching() {
    static bool listening = false;
    if (!listening) testing::UnitTest::GetInstance()->listeners().Append(new EndWithTheTest);
    listening = true;
    if (!watchTimer) watchTimer = SetTimer(nullptr, 0, TickMs, watch);
}

void CALLBACK runAction(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    auto action = std::move(actions[timer]);
    actions.erase(timer);
    if (action) action();
}

bool outsideTests() {
    return testing::UnitTest::GetInstance()->current_test_info() == nullptr;
}

} // namespace

void whileModal(std::function<void()> action) {
    startWatching();
    // The test drives its boxes itself; the deadline still holds.
    if (!outsideTests()) answering = false;
    actions[SetTimer(nullptr, 0, 100, runAction)] = std::move(action);
}

void answerDialogs(BoxAnswer newAnswer) {
    startWatching();
    answer = std::move(newAnswer);
    answering = true;
    if (outsideTests()) {
        answerOutsideTests = answer;
        answeringOutsideTests = true;
    }
}

void stopAnswering() {
    answer = nullptr;
    answering = false;
    if (outsideTests()) {
        answerOutsideTests = nullptr;
        answeringOutsideTests = false;
    }
}

HWND fileNameField(HWND box) {
    HWND field = GetDlgItem(box, cmb13);
    return field ? field : GetDlgItem(box, edt1);
}
