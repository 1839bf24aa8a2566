#include "framework/controls/vListCmd.h"

namespace {

const vComboBoxCmd::ListMessages listMessages = {LB_RESETCONTENT, LB_INSERTSTRING, LB_SETCURSEL,
                                                 LB_GETCURSEL,    LBN_SELCHANGE,   LBN_DBLCLK};

} // namespace

vListCmd::vListCmd(vCmdParent* parent, CommandObject* record)
    : vComboBoxCmd(parent, record, listMessages) {
    if (record->attributes & AttrRows && record->size >= 1 && record->size <= 32)
        visibleRows = record->size;
    int minWidth = record->attributes & AttrNoSpace ? record->value : 0;
    addControl(minWidth, 8 * visibleRows + 4,
               groupStyle() | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_SORT | LBS_NOTIFY,
               "LISTBOX");
}

int vListCmd::setValue(int value, int type) {
    if (type != SetPosition) return vComboBoxCmd::setValue(value, type);
    if (value >= itemCount) return 0;
    // Unlike the combo box, a negative value clears the list's selection.
    selection = value < 0 ? -1 : value;
    selectInControl(selection);
    return 1;
}
