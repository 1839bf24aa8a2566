#include "framework/controls/vBoxedLabelCmd.h"

#include "framework/app/vApp.h"
#include "framework/controls/DialogText.h"
#include "framework/controls/OwnerDrawing.h"
#include "framework/dialogs/vCmdParent.h"

vBoxedLabelCmd::vBoxedLabelCmd(vCmdParent* parent, CommandObject* record) : vCmd(parent, record) {
    vBoxedLabelCmd::initialize();
}

void vBoxedLabelCmd::initialize() {
    loadCommon();
    const CommandObject& record = *cmdObject;
    width = record.size > 0 ? record.size : dialogTextWidth(title) + 4;
    height = 11;
    parent->placeCommand(x, y, width, height, record.frameId, record.rightOfId, record.belowId, 0);
    templateItemOffset =
        parent->addTemplateItem(x, y, width, height, id, WS_GROUP | BS_OWNERDRAW | visibleStyle(),
                                "BUTTON", title, 0, nullptr);
}

void vBoxedLabelCmd::setString(const char* text) {
    setTitle(text);
    RedrawWindow(controlWindow(id), nullptr, nullptr, RDW_INVALIDATE);
}

int vBoxedLabelCmd::drawItem(int, DRAWITEMSTRUCT* record) {
    if (record->itemAction == ODA_SELECT || record->itemAction == ODA_FOCUS) return 1;
    if (record->itemAction != ODA_DRAWENTIRE) return 0;
    const RECT& r = record->rcItem;
    OwnerDrawing drawing(record->hDC);
    drawing.select(GetStockObject(NULL_PEN));
    drawing.select(theApp->faceBrush);
    drawing.fill(r.left, r.top, r.right + 1, r.bottom + 1);
    if (!(cmdObject->attributes & AttrNoBorder)) {
        drawing.select(theApp->shadowPen);
        MoveToEx(drawing.dc, r.left + 1, r.bottom - 1, nullptr);
        LineTo(drawing.dc, r.left + 1, r.top);
        LineTo(drawing.dc, r.right - 1, r.top);
        drawing.select(theApp->highlightPen);
        MoveToEx(drawing.dc, r.right - 1, r.top, nullptr);
        LineTo(drawing.dc, r.right - 1, r.bottom - 1);
        LineTo(drawing.dc, r.left + 1, r.bottom - 1);
    }
    SetBkMode(drawing.dc, TRANSPARENT);
    drawing.caption(title, r);
    return 1;
}
