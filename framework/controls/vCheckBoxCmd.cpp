#include "framework/controls/vCheckBoxCmd.h"

#include "framework/controls/DialogText.h"
#include "framework/dialogs/vCmdParent.h"

vCheckBoxCmd::vCheckBoxCmd(vCmdParent* parent, CommandObject* record) : vCmd(parent, record) {
    vCheckBoxCmd::initialize();
}

void vCheckBoxCmd::initialize() {
    loadCommon();
    const CommandObject& record = *cmdObject;
    width = 4 * visibleLength(title) + 14;
    height = 11;
    parent->placeCommand(x, y, width, 14, record.frameId, record.rightOfId, record.belowId, 0);
    y += 2;
    templateItemOffset = parent->addTemplateItem(
        x, y, width, height, id, WS_GROUP | WS_TABSTOP | BS_CHECKBOX | visibleStyle(), "BUTTON",
        title, 0, nullptr);
}

void vCheckBoxCmd::restoreValue() {
    if (savedValue == curValue) return;
    curValue = savedValue;
    setValue(savedValue != 0, SetValue);
    parent->processCommand(id, curValue, cmdObject->kind);
}

int vCheckBoxCmd::setValue(int value, int type) {
    if (type == SetValue || type == SetPosition) {
        curValue = value;
        return CheckDlgButton(parent->windowHandle, id, value ? BST_CHECKED : BST_UNCHECKED);
    }
    return setCommonValue(value, type);
}

void vCheckBoxCmd::setString(const char* text) {
    setTitle(text);
}

void vCheckBoxCmd::onNotify(int, int) {
    setValue(curValue ? 0 : 1, SetValue);
    parent->processCommand(id, curValue, cmdObject->kind);
}
