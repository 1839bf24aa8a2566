#include "framework/controls/vFrameCmd.h"

#include "framework/app/vApp.h"
#include "framework/dialogs/vCmdParent.h"

vFrameCmd::vFrameCmd(vCmdParent* parent, CommandObject* record) : vCmd(parent, record) {
    vFrameCmd::initialize();
}

void vFrameCmd::initialize() {
    loadCommon();
    width = 4;
    height = 4;
    parent->placeCommand(x, y, width, height, cmdObject->frameId, cmdObject->rightOfId,
                         cmdObject->belowId, 0);
    // Always created visible: a hidden frame is hidden once its window exists.
    templateItemOffset = parent->addTemplateItem(
        x, y, width, height, id, WS_VISIBLE | WS_GROUP | BS_OWNERDRAW, "BUTTON", "", 0, nullptr);
}

int vFrameCmd::setValue(int value, int type) {
    if (type == SetPosition) {
        if (cmdObject->kind != ToggleFrame) return 0;
        int result = ShowWindow(controlWindow(id), value ? SW_SHOW : SW_HIDE);
        parent->showFrameContents(id, value);
        return result;
    }
    return setCommonValue(value, type);
}

int vFrameCmd::drawItem(int, DRAWITEMSTRUCT* record) {
    if (record->itemAction == ODA_SELECT || record->itemAction == ODA_FOCUS) return 1;
    if (record->itemAction != ODA_DRAWENTIRE) return 0;
    HDC dc = record->hDC;
    RECT r = record->rcItem;
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, theApp->faceBrush);
    Rectangle(dc, r.left, r.top, r.right + 1, r.bottom + 1);
    if (!(cmdObject->attributes & AttrNoBorder)) {
        SelectObject(dc, theApp->shadowPen);
        MoveToEx(dc, r.left + 1, r.bottom - 1, nullptr);
        LineTo(dc, r.left + 1, r.top + 1);
        LineTo(dc, r.right - 1, r.top + 1);
        SelectObject(dc, theApp->highlightPen);
        MoveToEx(dc, r.right - 1, r.top + 1, nullptr);
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.left + 1, r.bottom - 1);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    return 1;
}
