#include "framework/controls/vRadioButtonCmd.h"

#include "framework/dialogs/vCmdParent.h"

vRadioButtonCmd* vRadioButtonCmd::radioButtonChain = nullptr;

vRadioButtonCmd::vRadioButtonCmd(vCmdParent* parent, CommandObject* record) : vCmd(parent, record) {
    vRadioButtonCmd::initialize();
}

vRadioButtonCmd::~vRadioButtonCmd() {
    for (vRadioButtonCmd** link = &radioButtonChain; *link; link = &(*link)->nextRadio)
        if (*link == this) {
            *link = nextRadio;
            break;
        }
}

void vRadioButtonCmd::initialize() {
    nextRadio = radioButtonChain;
    radioButtonChain = this;
    addMarkedButton(BS_RADIOBUTTON);
}

vRadioButtonCmd* vRadioButtonCmd::otherOn() {
    // Only this container's buttons: another window's control is not ours
    // to switch off or to report.
    for (vRadioButtonCmd* radio = radioButtonChain; radio; radio = radio->nextRadio)
        if (radio != this && radio->parent == parent &&
            radio->cmdObject->frameId == cmdObject->frameId && radio->curValue && radio->id != id)
            return radio;
    return nullptr;
}

void vRadioButtonCmd::restoreValue() {
    if (savedValue == curValue) return;
    curValue = savedValue;
    CheckDlgButton(parent->windowHandle, id, curValue ? BST_CHECKED : BST_UNCHECKED);
    parent->processCommand(id, curValue, cmdObject->kind);
}

int vRadioButtonCmd::setValue(int value, int type) {
    if (type == SetValue || type == SetPosition) {
        curValue = value;
        if (value)
            if (vRadioButtonCmd* other = otherOn()) {
                other->curValue = 0;
                CheckDlgButton(parent->windowHandle, other->id, BST_UNCHECKED);
            }
        return CheckDlgButton(parent->windowHandle, id, value ? BST_CHECKED : BST_UNCHECKED);
    }
    return setCommonValue(value, type);
}

void vRadioButtonCmd::setString(const char* text) {
    setTitle(text);
}

void vRadioButtonCmd::onNotify(int, int) {
    if (vRadioButtonCmd* other = otherOn()) {
        other->curValue = 0;
        CheckDlgButton(parent->windowHandle, other->id, BST_UNCHECKED);
        parent->processCommand(other->id, 0, other->cmdObject->kind);
    }
    if (curValue) return;
    setValue(1, SetValue);
    parent->processCommand(id, 1, cmdObject->kind);
}
