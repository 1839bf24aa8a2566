#include "framework/controls/vCheckBoxCmd.h"

#include "framework/dialogs/vCmdParent.h"

vCheckBoxCmd::vCheckBoxCmd(vCmdParent* parent, CommandObject* record) : vCmd(parent, record) {
    vCheckBoxCmd::initialize();
}

void vCheckBoxCmd::initialize() {
    addMarkedButton(BS_CHECKBOX);
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
