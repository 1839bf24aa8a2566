#include "framework/controls/vCmd.h"

#include "framework/app/WideText.h"
#include "framework/controls/DialogText.h"
#include "framework/dialogs/vCmdParent.h"

vCmd::vCmd(vCmdParent* parent, CommandObject* record)
    : parent(parent), cmdObject(record), savedValue(record->value) {}

void vCmd::loadCommon() {
    title = textOrEmpty(cmdObject->title);
    id = cmdObject->id;
    curValue = cmdObject->value;
    sensitive = cmdObject->sensitive & 1;
    items = cmdObject->items;
}

void vCmd::restoreValue() {
    cmdObject->value = savedValue;
}

void vCmd::saveValue() {
    savedValue = cmdObject->value;
}

void vCmd::onNotify(int, int) {
    parent->processCommand(id, cmdObject->value, cmdObject->kind);
}

HWND vCmd::controlWindow(int controlId) {
    return GetDlgItem(parent->windowHandle, controlId);
}

int vCmd::measureOwnerDrawn(int controlId, MEASUREITEMSTRUCT* record) {
    record->CtlType = ODT_BUTTON;
    record->CtlID = UINT(controlId);
    record->itemWidth = UINT(width);
    record->itemHeight = UINT(height);
    return 1;
}

void vCmd::addMarkedButton(std::uint32_t buttonStyle) {
    loadCommon();
    const CommandObject& record = *cmdObject;
    width = 4 * visibleLength(title) + 14;
    height = 11;
    parent->placeCommand(x, y, width, 14, record.frameId, record.rightOfId, record.belowId, 0);
    y += 2;
    templateItemOffset = parent->addTemplateItem(
        x, y, width, height, id, WS_GROUP | WS_TABSTOP | buttonStyle | visibleStyle(), "BUTTON",
        title, 0, nullptr);
}

void vCmd::setTitle(const char* text) {
    keepTitle(text);
    SetDlgItemTextW(parent->windowHandle, id, wideText(title).c_str());
}

void vCmd::keepTitle(const char* text) {
    if (text != keptTitle.c_str()) keptTitle = textOrEmpty(text);
    title = keptTitle.c_str();
}

int vCmd::setCommonValue(int value, int type) {
    if (type == SetSensitive) {
        sensitive = value;
        return EnableWindow(controlWindow(id), value);
    }
    if (type == SetHidden) return ShowWindow(controlWindow(id), value ? SW_HIDE : SW_SHOW);
    return 0;
}

std::uint32_t vCmd::visibleStyle() const {
    return cmdObject->attributes & AttrHidden ? 0 : WS_VISIBLE;
}
