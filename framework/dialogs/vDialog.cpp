#include "framework/dialogs/vDialog.h"

#include "framework/app/WideText.h"
#include "framework/app/vApp.h"
#include "framework/controls/vCmd.h"
#include "framework/dialogs/vModalDialog.h"
#include "framework/dialogs/vNoticeDialog.h"
#include "framework/dialogs/vThisList.h"

#include <vector>

vModalDialog* currentModalDialog = nullptr;
unsigned vDialog::showings = 0;

namespace {

constexpr std::uint32_t ModalStyle = 0x90C000C0;
constexpr std::uint32_t ModelessStyle = 0x90C00040;
const char* const TemplateError = "vDialog - Unable to build dialog template";

void reportFatal() {
    if (theApp) theApp->fatalError(TemplateError);
}

bool hasKind(const vCmd* command, std::initializer_list<int> kinds) {
    for (int kind : kinds)
        if (command->cmdObject->kind == kind) return true;
    return false;
}

} // namespace

vDialog::vDialog(vBaseWindow* owner, const char* name, int modal)
    : vBaseWindow(name, 2), vCmdParent(PaneDialog), modal(modal) {
    ownerHandle = owner ? owner->nativeWindow : nullptr;
    if (!beginTemplate(modal ? ModalStyle : ModelessStyle, 10, 25, 1, 1, "", "", name, 8, "Helv"))
        reportFatal();
}

vDialog::~vDialog() {
    for (LoopWatch* watch = loopWatch; watch; watch = watch->outer)
        watch->deleted = true;
    if (displayed && modal) endModalLoop();
    if (displayed && !modal) vDialog::closeDialog();
    displayed = 0;
    dialogTemplate.clear();
    unregister();
    // The records outlive the dialog; its message goes with it.
    for (vCmd* command : commands)
        if (command && command->cmdObject->title == messageText.c_str())
            command->cmdObject->title = "";
}

void vDialog::endModalLoop() {
    if (toolTipHandle) DestroyWindow(toolTipHandle);
    toolTipHandle = nullptr;
    if (windowHandle) EndDialog(windowHandle, 0);
    // No modal dialog may lead back to this one once it is gone.
    if (static_cast<vDialog*>(currentModalDialog) == this) currentModalDialog = previousModal;
    for (void* entry = dialogList.first(); entry; entry = dialogList.next()) {
        auto* other = static_cast<vDialog*>(entry);
        if (static_cast<vDialog*>(other->previousModal) == this)
            other->previousModal = previousModal;
    }
}

void vDialog::unregister() {
    // A closed window's handle may since name another dialog's window.
    if (dialogHandle && dialogList.find(dialogHandle) == this) dialogList.remove(dialogHandle);
}

void vDialog::addDialogCmds(CommandObject* table) {
    if (!table) return;
    buildCommands(table);
    endTemplate();
}

void vDialog::addDialogCmd(CommandObject*, vCmd* command) {
    commands.push_front(command);
}

void vDialog::cancelDialog() {
    // A dialog never shown has no values of a showing: it keeps its own.
    if (everShown)
        for (vCmd* command : commands)
            if (command) command->restoreValue();
    closeDialog();
}

void vDialog::closeDialog() {
    displayed = 0;
    if (toolTipHandle) DestroyWindow(toolTipHandle);
    toolTipHandle = nullptr;
    if (!modal && windowHandle) DestroyWindow(windowHandle);
    if (!modal) windowHandle = nullptr;
    unregister();
}

void vDialog::setDialogTitle(const char* title) {
    if (windowHandle) SetWindowTextW(windowHandle, wideText(title ? title : "").c_str());
}

void vDialog::onDialogCommand(int id, int, int) {
    if (id == IdCancel)
        cancelDialog();
    else if (id == IdOk || id == IdDone)
        closeDialog();
}

void vDialog::processCommand(int id, int value, int kind) {
    if ((id == IdOk || id == IdDone) && !takeTyped()) return;
    onDialogCommand(id, value, kind);
}

bool vDialog::takeTyped() {
    // In the order the dialog shows them: the first wrong field is named.
    std::vector<vCmd*> shown(commands.begin(), commands.end());
    for (auto command = shown.rbegin(); command != shown.rend(); ++command) {
        std::string expected;
        if (!*command || (*command)->takeTyped(expected)) continue;
        vNoticeDialog box(this, "Notice");
        box.notice(("Type a whole number from " + expected + ".").c_str());
        return false;
    }
    return true;
}

void vDialog::showDialog(const char* message) {
    if (displayed) return;
    if (message && *message) {
        messageText = message;
        for (vCmd* command : commands)
            if (command && (command->cmdObject->attributes & AttrMessage))
                command->cmdObject->title = messageText.c_str();
    }
    // The platform would read the bytes of an unfinished or empty template
    // as a dialog; refuse it instead.
    if (!dialogTemplate.ended() || dialogTemplate.empty()) {
        reportFatal();
        return;
    }
    displayed = 1;
    shownAt = ++showings;
    auto* bytes = reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data());
    HINSTANCE instance = GetModuleHandleA(nullptr);
    auto self = reinterpret_cast<LPARAM>(this);
    if (modal) {
        LoopWatch watch(loopWatch);
        INT_PTR result = DialogBoxIndirectParamW(instance, bytes, ownerHandle, dialogProc, self);
        // Deleted while its loop ran: nothing of it is left to touch.
        if (watch.deleted) return;
        displayed = 0;
        windowHandle = nullptr;
        if (result == -1) reportFatal();
        return;
    }
    windowHandle = nullptr;
    if (!CreateDialogIndirectParamW(instance, bytes, ownerHandle, dialogProc, self)) {
        displayed = 0;
        reportFatal();
    }
}

void vDialog::setDialogPosition(int left, int top) {
    if (!windowHandle) return;
    RECT client = {}, dialog;
    if (theApp && theApp->clientWindow) GetWindowRect(theApp->clientWindow, &client);
    GetWindowRect(windowHandle, &dialog);
    MoveWindow(windowHandle, client.left + left, client.top + top, dialog.right - dialog.left,
               dialog.bottom - dialog.top, TRUE);
}

INT_PTR CALLBACK vDialog::dialogProc(HWND window, UINT code, WPARAM wParam, LPARAM lParam) {
    auto* creating = code == WM_INITDIALOG ? reinterpret_cast<vDialog*>(lParam) : nullptr;
    vDialog* self = registeredObject(window, dialogList, creating);
    if (self && !self->answersNow()) self = nullptr;
    return dispatchMessage(self, {window, code, wParam, lParam},
                           [](const WindowMessage&) -> LRESULT { return FALSE; });
}

bool vDialog::answersNow() const {
    // While a modal dialog runs, the dialogs shown before it are left to the
    // platform; those shown since, from its handlers or timers, answer.
    const vDialog* current = currentModalDialog;
    return !current || current == this || shownAt > current->shownAt;
}

Handled vDialog::handleMessage(const WindowMessage& message) {
    switch (message.code) {
    case WM_INITDIALOG: return handleInit(message);
    case WM_COMMAND: return handleCommand(message);
    case WM_HSCROLL:
    case WM_VSCROLL: return handleScroll(message);
    case WM_MEASUREITEM: return handleMeasureItem(message);
    case WM_DRAWITEM: return handleDrawItem(message);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: return handleControlColor(message);
    default: return NotHandled;
    }
}

Handled vDialog::handleInit(const WindowMessage& message) {
    dialogList.add(message.window, static_cast<vDialog*>(this));
    windowHandle = dialogHandle = message.window;
    SetWindowTextW(message.window, wideText(name).c_str());
    registerToolTips(toolTipHandle);
    bool focused = initialiseCommands();
    // Taken once the commands show their start states: what Cancel brings back.
    for (vCmd* command : commands)
        command->saveValue();
    everShown = true;
    shownTick = GetTickCount();
    handsBackActivation = !modal;
    onDialogDisplayed();
    return handled(focused ? FALSE : TRUE);
}

bool vDialog::initialiseCommands() {
    bool focused = false;
    for (vCmd* command : commands) {
        const CommandObject& record = *command->cmdObject;
        // A message command takes its record's title; its own may be the
        // text of an earlier showing, gone by now.
        if (record.attributes & AttrMessage)
            command->setString(record.title);
        else if (hasKind(command, {BoxedLabel, Button, CheckBox, Label, RadioButton, Text}))
            command->setString(command->title);
        else
            command->onDialogShown();
        if ((record.attributes & AttrDefault) || record.kind == TextIn) {
            SetFocus(GetDlgItem(windowHandle, command->id));
            focused = true;
        }
    }
    setStartStates(true);
    return focused;
}

Handled vDialog::handleCommand(const WindowMessage& message) {
    int code = message.highWord();
    if (vCmdParent::ignoredNotification(code)) return handled(0);
    int id = message.lowWord();
    vCmd* command = findCommand(id);
    // Esc and the close box send the platform's cancel id.
    if (!command && id == IDCANCEL) command = findCommand(IdCancel);
    if (!command) return handled(0);
    command->onNotify(command->id, code);
    return handled(1);
}

Handled vDialog::handleScroll(const WindowMessage& message) {
    int code = message.lowWord();
    if (code == SB_ENDSCROLL) return handled(0);
    vCmd* command = findCommand(GetDlgCtrlID(reinterpret_cast<HWND>(message.lParam)));
    if (!command) return handled(0);
    command->onNotify(code, message.highWord());
    return handled(1);
}

Handled vDialog::handleMeasureItem(const WindowMessage& message) {
    int id = int(message.wParam);
    vCmd* command = displayed ? findCommand(id) : nullptr;
    if (!command) return handled(0);
    return handled(command->measureItem(id, reinterpret_cast<MEASUREITEMSTRUCT*>(message.lParam)));
}

Handled vDialog::handleDrawItem(const WindowMessage& message) {
    int id = int(message.wParam);
    vCmd* command = displayed ? findCommand(id) : nullptr;
    if (!command) return handled(0);
    return handled(command->drawItem(id, reinterpret_cast<DRAWITEMSTRUCT*>(message.lParam)));
}

Handled vDialog::handleControlColor(const WindowMessage& message) {
    if (!theApp) return NotHandled;
    auto brush = reinterpret_cast<LRESULT>(theApp->faceBrush);
    if (message.code == WM_CTLCOLORDLG) return handled(brush);
    auto dc = reinterpret_cast<HDC>(message.wParam);
    if (message.code == WM_CTLCOLORSTATIC) {
        vCmd* command = findCommand(GetDlgCtrlID(reinterpret_cast<HWND>(message.lParam)));
        if (command) command->colorText(dc);
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return handled(brush);
}

bool dialogKeepsActivation() {
    for (void* entry = dialogList.first(); entry; entry = dialogList.next()) {
        auto* dialog = static_cast<vDialog*>(entry);
        bool fresh = dialog->handsBackActivation && GetTickCount() - dialog->shownTick < 10000;
        if (!dialog->modal && dialog->displayed && fresh &&
            GetActiveWindow() == dialog->windowHandle) {
            dialog->handsBackActivation = false;
            return true;
        }
    }
    return false;
}

int filterDialogMessage(MSG* message) {
    for (dialogList.first(); dialogList.cursorKey(); dialogList.next()) {
        HWND dialog = reinterpret_cast<HWND>(dialogList.cursorKey());
        if (IsDialogMessageW(dialog, message)) return 1;
    }
    return 0;
}
