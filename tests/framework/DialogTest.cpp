// Dialogs shown for real: cancel and close, the modal loop and its nesting,
// focus, message texts, the notice box and a template that cannot be shown.
#include "framework/app/WideText.h"
#include "framework/app/vApp.h"
#include "framework/dialogs/vDialog.h"
#include "framework/dialogs/vFileSelect.h"
#include "framework/dialogs/vModalDialog.h"
#include "framework/dialogs/vNoticeDialog.h"
#include "framework/dialogs/vThisList.h"
#include "framework/draw/vColor.h"
#include "tests/framework/ModalHelpers.h"
#include "tests/win/WinTest.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

namespace {

CommandObject command(int kind, int id, const char* title, int below = 0, int value = 0,
                      std::uint32_t attributes = 0) {
    return {kind, id, value, title, nullptr, attributes, 1, 0, 0, below, 0, nullptr};
}

const CommandObject End = {};

// Passes queued messages through the dialogs' keyboard handling, as the
// application's loop does.
void pumpThroughDialogs() {
    MSG message;
    for (int round = 0; round < 5; ++round, Sleep(10))
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            if (!filterDialogMessage(&message)) DispatchMessageA(&message);
}

std::string textOf(HWND dialog, int id) {
    wchar_t text[200] = L"";
    GetDlgItemTextW(dialog, id, text, 200);
    return utf8Text(text);
}

TEST(Dialogs, EscRestoresValuesAndClosesOkKeepsThem) {
    CommandObject table[] = {command(CheckBox, 1, "Check"), command(Button, IdOk, "OK", 1),
                             command(Button, IdCancel, "Cancel", 1), End};
    vDialog dialog(nullptr, "Values");
    dialog.addDialogCmds(table);
    for (bool cancel : {true, false}) {
        dialog.showDialog(nullptr);
        HWND window = dialog.windowHandle;
        SendDlgItemMessageA(window, 1, BM_CLICK, 0, 0);
        ASSERT_EQ(dialog.getValue(1), 1);
        if (cancel)
            PostMessageA(GetDlgItem(window, 1), WM_KEYDOWN, VK_ESCAPE, 0);
        else
            PostMessageA(GetDlgItem(window, IdOk), BM_CLICK, 0, 0);
        pumpThroughDialogs();
        EXPECT_EQ(dialog.getValue(1), cancel ? 0 : 1) << cancel;
        EXPECT_FALSE(IsWindow(window)) << cancel;
        EXPECT_FALSE(dialog.displayed) << cancel;
        EXPECT_EQ(dialogList.find(window), nullptr) << cancel;
    }
}

TEST(Dialogs, ColorLabelTextTakesItsColour) {
    static const vColor red(200, 16, 32);
    CommandObject colored = command(ColorLabel, 1, "Red");
    colored.items = const_cast<vColor*>(&red);
    CommandObject table[] = {colored, command(Label, 2, "Plain", 1), End};
    vDialog dialog(nullptr, "Colours");
    dialog.addDialogCmds(table);
    dialog.showDialog(nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    for (int id : {1, 2}) {
        SetTextColor(dc, RGB(1, 2, 3));
        SendMessageA(dialog.windowHandle, WM_CTLCOLORSTATIC, WPARAM(dc),
                     LPARAM(GetDlgItem(dialog.windowHandle, id)));
        EXPECT_EQ(GetTextColor(dc), id == 1 ? RGB(200, 16, 32) : RGB(1, 2, 3)) << id;
    }
    DeleteDC(dc);
    const std::string longText(120, 'r');
    dialog.setString(1, longText.c_str());
    dialog.setValue(1, 255, SetBlue);
    EXPECT_EQ(textOf(dialog.windowHandle, 1), longText) << "a colour change shows all of it";
    dialog.closeDialog();
}

TEST(Dialogs, MessageTextSurvivesAShowingWithoutMessage) {
    CommandObject table[] = {command(Label, 1, "first", 0, 0, AttrMessage), End};
    vDialog dialog(nullptr, "Messages");
    dialog.addDialogCmds(table);
    char message[] = "Hello there"; // the caller's, overwritten once shown
    for (char* shown : {message, static_cast<char*>(nullptr)}) {
        dialog.showDialog(shown);
        message[0] = '-';
        EXPECT_EQ(textOf(dialog.windowHandle, 1), "Hello there");
        dialog.closeDialog();
    }
}

static_assert(!std::is_copy_constructible_v<vFileSelect> && !std::is_copy_assignable_v<vFileSelect>,
              "a copy would share the original's start folder");

// Inside a modal dialog's loop a modal one shown there ends its own loop, and
// one deleted while shown ends its loop. Loops our code fails to end are
// ended, so the test cannot hang.
TEST(Dialogs, DialogsShownOrDeletedDuringAModalOne) {
    CommandObject ok[] = {command(Button, IdOk, "OK"), End};
    vModalDialog outer(nullptr, "Outer"), inner(nullptr, "Inner");
    auto* doomed = new vModalDialog(nullptr, "Doomed");
    for (vDialog* dialog : std::initializer_list<vDialog*>{&outer, &inner, doomed})
        dialog->addDialogCmds(ok);
    bool innerEndedItself = false, doomedStuck = false;
    int value;
    whileModal([&] {
        whileModal([&] {
            HWND window = FindWindowA(nullptr, "Inner");
            innerEndedItself = window && window == inner.windowHandle;
            SendDlgItemMessageA(window, IdOk, BM_CLICK, 0, 0);
            if (!innerEndedItself) EndDialog(window, 0);
        });
        inner.showDialog(nullptr);
        whileModal([&] {
            HWND window = doomed->windowHandle;
            delete doomed;
            whileModal([&, window] {
                if ((doomedStuck = IsWindow(window))) EndDialog(window, 0);
            });
        });
        EXPECT_EQ(doomed->showModalDialog(nullptr, value), 0);
        EXPECT_EQ(currentModalDialog, &outer);
        outer.closeDialog();
    });
    outer.showModalDialog(nullptr, value);
    EXPECT_TRUE(innerEndedItself);
    EXPECT_FALSE(doomedStuck);
}

TEST(Dialogs, ModalEndsWithDoneAndFocusesFirstDeclaredEntry) {
    CommandObject table[] = {command(CheckBox, 1, "Tab stop first"), command(TextIn, 4, "", 1),
                             command(TextIn, 5, "", 4), command(Button, IdDone, "Done", 5, 7), End};
    vModalDialog dialog(nullptr, "Modal");
    dialog.addDialogCmds(table);
    int focused = 0, value = 0;
    whileModal([&] {
        focused = GetDlgCtrlID(GetFocus());
        PostMessageA(GetDlgItem(dialog.windowHandle, IdDone), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(dialog.showModalDialog(nullptr, value), IdDone);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(focused, 4);
    EXPECT_EQ(currentModalDialog, nullptr);
}

TEST(Dialogs, NestedModalDialogsRestoreThePreviousOne) {
    CommandObject outerTable[] = {command(Button, IdOk, "OK"), End};
    CommandObject innerTable[] = {command(Button, IdOk, "OK"), End};
    vModalDialog outer(nullptr, "Outer"), inner(nullptr, "Inner");
    outer.addDialogCmds(outerTable);
    inner.addDialogCmds(innerTable);
    bool outerIgnoredWhileInner = false;
    whileModal([&] {
        whileModal([&] {
            SendMessageA(outer.windowHandle, WM_COMMAND, IdOk, 0);
            outerIgnoredWhileInner = outer.displayed && currentModalDialog == &inner;
            inner.closeDialog();
        });
        int value;
        inner.showModalDialog(nullptr, value);
        EXPECT_EQ(inner.previousModal, &outer);
        EXPECT_EQ(currentModalDialog, &outer);
        outer.closeDialog();
    });
    int value;
    outer.showModalDialog(nullptr, value);
    EXPECT_TRUE(outerIgnoredWhileInner);
    EXPECT_EQ(currentModalDialog, nullptr);
}

// The control is where the dialog manager puts those dialog units.
void expectUnits(HWND dialog, int id, RECT units) {
    MapDialogRect(dialog, &units);
    RECT actual;
    GetWindowRect(GetDlgItem(dialog, id), &actual);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.left, units.left) << id;
    EXPECT_EQ(actual.top, units.top) << id;
    EXPECT_EQ(actual.right - actual.left, units.right) << id;
    EXPECT_EQ(actual.bottom - actual.top, units.bottom) << id;
}

// Where the notice put itself (the window manager may move it later).
struct PlacedNotice : vNoticeDialog {
    PlacedNotice() : vNoticeDialog(nullptr, "Notice") {}
    void onDialogDisplayed() override {
        vNoticeDialog::onDialogDisplayed();
        GetWindowRect(windowHandle, &placed);
    }
    RECT placed = {};
};

TEST(Notice, LayoutFromTheFirstMessageAndEnterPressesOk) {
    PlacedNotice notice;
    std::string shown;
    RECT client = {}, frame = {};
    whileModal([&] {
        HWND window = notice.windowHandle;
        expectUnits(window, 92, {37, 3, 59, 12});
        expectUnits(window, 93, {2, 2, 95, 24});
        expectUnits(window, 91, {3, 3, 34, 22});
        expectUnits(window, IdDone, {2, 28, 26, 14});
        GetWindowRect(theApp->clientWindow, &client);
        GetWindowRect(theApp->frameWindow, &frame);
        PostMessageA(GetDlgItem(window, IdDone), WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_EQ(notice.notice("File Not found"), IdDone);
    const RECT& box = notice.placed;
    int width = box.right - box.left, height = box.bottom - box.top;
    EXPECT_EQ(box.left - client.left, (frame.right - frame.left - width) / 2);
    EXPECT_EQ(box.top - client.top, (frame.bottom - frame.top - height) / 2);

    whileModal([&] {
        shown = textOf(notice.windowHandle, 92);
        expectUnits(notice.windowHandle, 92, {37, 3, 59, 12});
        notice.closeDialog();
    });
    notice.notice("A second, longer message: 日本 café");
    EXPECT_EQ(shown, "A second, longer message: 日本 café");

    vNoticeDialog twoLines(nullptr, "Notice");
    whileModal([&] {
        expectUnits(twoLines.windowHandle, 92, {37, 3, 23, 23});
        twoLines.closeDialog();
    });
    twoLines.notice("Two\nlines");
}

TEST(Dialogs, ATemplateThatCannotBeShownEndsInTheWarningBox) {
    vDialog unfinished(nullptr, "Never given its commands");
    std::string warning;
    answerDialogs([&](HWND box, bool) {
        warning = textOf(box, 0xFFFF);
        return PostMessageA(box, WM_COMMAND, IDOK, 0) != 0;
    });
    unfinished.showDialog(nullptr);
    stopAnswering();
    int code = 0;
    EXPECT_TRUE(takeQuit(code));
    EXPECT_EQ(code, 99);
    EXPECT_EQ(warning, "vDialog - Unable to build dialog template");
    EXPECT_FALSE(unfinished.displayed);
}

} // namespace
