#include "framework/controls/vComboBoxCmd.h"

#include "framework/app/WideText.h"
#include "framework/dialogs/vCmdParent.h"

#include <algorithm>
#include <cstring>

namespace {

const vComboBoxCmd::ListMessages comboMessages = {CB_RESETCONTENT, CB_INSERTSTRING, CB_SETCURSEL,
                                                  CB_GETCURSEL,    CBN_SELCHANGE,   -1};

} // namespace

vComboBoxCmd::vComboBoxCmd(vCmdParent* parent, CommandObject* record)
    : vComboBoxCmd(parent, record, comboMessages) {
    addControl(0, 14, groupStyle() | WS_VSCROLL | CBS_HASSTRINGS | CBS_DROPDOWNLIST, "COMBOBOX");
}

vComboBoxCmd::vComboBoxCmd(vCmdParent* parent, CommandObject* record, const ListMessages& messages)
    : vCmd(parent, record), messages(messages) {
    loadCommon();
    loadListItems();
}

std::uint32_t vComboBoxCmd::groupStyle() const {
    return parent->layoutStyle == LayoutCommandBar ? WS_GROUP : WS_GROUP | WS_TABSTOP;
}

void vComboBoxCmd::addControl(int minWidth, int controlHeight, std::uint32_t style,
                              const char* className) {
    const CommandObject& record = *cmdObject;
    if (record.attributes & AttrLarge) maxChars = 3 * maxChars / 2;
    width = std::max(4 * maxChars + 10, minWidth);
    height = controlHeight;
    parent->placeCommand(x, y, width, height, record.frameId, record.rightOfId, record.belowId, 0);
    templateItemOffset = parent->addTemplateItem(x, y, width, height, id, style | visibleStyle(),
                                                 className, title, 0, nullptr);
}

void vComboBoxCmd::loadListItems() {
    itemList = static_cast<const char* const*>(items);
    itemCount = 0;
    for (; itemList && itemList[itemCount]; ++itemCount)
        maxChars = std::max(maxChars, int(std::strlen(itemList[itemCount])));
    // Without texts nothing can be selected.
    selection = itemCount == 0 ? -1 : std::max(0, std::min(curValue, itemCount - 1));
}

void vComboBoxCmd::selectInControl(int value) {
    SendMessageA(controlWindow(id), messages.select, WPARAM(value), 0);
}

int vComboBoxCmd::reload(int value) {
    HWND control = controlWindow(id);
    SendMessageA(control, messages.reset, 0, 0);
    int widest = maxChars;
    loadListItems();
    maxChars = std::max(maxChars, widest);
    for (int i = 0; i < itemCount; ++i)
        SendMessageW(control, messages.insert, WPARAM(i),
                     reinterpret_cast<LPARAM>(wideText(itemList[i]).c_str()));
    if (!sensitive) EnableWindow(control, FALSE);
    if (cmdObject->attributes & AttrHidden) ShowWindow(control, SW_HIDE);
    // A selection beyond the texts is none, never an index past the array.
    selection = value >= 0 && value < itemCount ? value : -1;
    selectInControl(selection);
    return 1;
}

void vComboBoxCmd::saveValue() {
    vCmd::saveValue();
    shownValue = selection;
}

void vComboBoxCmd::restoreValue() {
    vCmd::restoreValue();
    setValue(shownValue, SetPosition);
}

int vComboBoxCmd::setValue(int value, int type) {
    switch (type) {
    case SetPosition:
        if (value >= itemCount) return 0;
        // A negative value leaves the control showing its old choice.
        if (value < 0) {
            selection = -1;
            return 0;
        }
        selection = curValue = value;
        selectInControl(value);
        return 1;
    case SetListReplaced: items = cmdObject->items; return reload(value);
    case SetListChanged: return reload(value);
    default: return setCommonValue(value, type);
    }
}

void vComboBoxCmd::onNotify(int, int code) {
    if (code != messages.selectionChange && code != messages.doubleClick) return;
    LRESULT index = SendMessageA(controlWindow(id), messages.selected, 0, 0);
    if (index < 0) {
        selection = -1;
        return;
    }
    selection = index < itemCount ? int(index) : -1;
    if (!(cmdObject->attributes & AttrNoNotify))
        parent->processCommand(id, selection, cmdObject->kind);
}
