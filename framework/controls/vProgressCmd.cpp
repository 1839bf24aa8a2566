#include "framework/controls/vProgressCmd.h"

#include "framework/app/vApp.h"
#include "framework/controls/OwnerDrawing.h"
#include "framework/controls/ValueRange.h"
#include "framework/dialogs/vCmdParent.h"
#include "framework/draw/GdiTally.h"

#include <cstdio>

vProgressCmd::vProgressCmd(vCmdParent* parent, CommandObject* record) : vCmd(parent, record) {
    vProgressCmd::initialize();
}

void vProgressCmd::initialize() {
    loadCommon();
    const CommandObject& record = *cmdObject;
    ValueRange range = loadRange(items);
    rangeMin = range.lowest;
    rangeMax = range.highest;
    progressValue = range.clamp(curValue);
    vertical = record.attributes & AttrVertical ? 1 : 0;
    int length = record.attributes & AttrSmall ? 50 : record.attributes & AttrLarge ? 150 : 100;
    if (record.size > 0) length = record.size;
    width = vertical ? 10 : length;
    height = vertical ? length : 14;
    parent->placeCommand(x, y, width, height, record.frameId, record.rightOfId, record.belowId, 0);
    templateItemOffset =
        parent->addTemplateItem(x, y, width, height, id, WS_GROUP | BS_OWNERDRAW | visibleStyle(),
                                "BUTTON", title, 0, nullptr);
}

int vProgressCmd::setValue(int value, int type) {
    if (type == SetHidden) return setCommonValue(value, type);
    if (type != SetPosition || !ValueRange{rangeMin, rangeMax}.holds(value)) return 0;
    progressValue = value;
    return RedrawWindow(controlWindow(id), nullptr, nullptr, RDW_INVALIDATE);
}

int vProgressCmd::drawItem(int, DRAWITEMSTRUCT* record) {
    if (record->itemAction != ODA_DRAWENTIRE) return 0;
    const RECT& r = record->rcItem;
    HDC dc = record->hDC;
    COLORREF troughColor = GetSysColor(COLOR_SCROLLBAR);
    if (troughColor == GetSysColor(COLOR_BTNFACE)) troughColor = RGB(128, 128, 128);
    HBRUSH trough = GdiTally::made(CreateSolidBrush(troughColor));
    {
        OwnerDrawing drawing(dc);
        drawing.select(GetStockObject(NULL_PEN));
        drawing.select(trough);
        drawing.fill(r.left, r.top, r.right, r.bottom);
        // The trough is sunk.
        drawing.select(theApp->shadowPen);
        MoveToEx(dc, r.left + 1, r.bottom - 1, nullptr);
        LineTo(dc, r.left + 1, r.top + 1);
        LineTo(dc, r.right - 1, r.top + 1);
        drawing.select(theApp->highlightPen);
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.left + 1, r.bottom - 1);

        drawing.select(theApp->faceBrush);
        int span = vertical ? r.bottom - r.top - 2 : r.right - r.left - 2;
        int empty = ValueRange{rangeMin, rangeMax}.emptyPart(progressValue, span);
        RECT bar = {r.left + 2, vertical ? r.top + 2 + empty : r.top + 2,
                    vertical ? r.right - 2 : r.right - 2 - empty, r.bottom - 2};
        if (empty != span) {
            // The bar is raised.
            drawing.fill(bar.left, bar.top, bar.right, bar.bottom);
            MoveToEx(dc, bar.left + 1, bar.bottom - 1, nullptr);
            LineTo(dc, bar.left + 1, bar.top + 1);
            LineTo(dc, bar.right - 1, bar.top + 1);
            drawing.select(theApp->shadowPen);
            if (!vertical) MoveToEx(dc, bar.right - 1, bar.bottom - 1, nullptr);
            LineTo(dc, bar.right - 1, bar.bottom - 1);
            LineTo(dc, bar.left + 1, bar.bottom - 1);
        }
        if (!(cmdObject->attributes & AttrNoValueText)) {
            char text[16];
            std::snprintf(text, sizeof text, "%d%s", progressValue,
                          cmdObject->attributes & AttrPercent ? "%" : "");
            SetBkMode(dc, TRANSPARENT);
            drawing.caption(text, r);
        }
    }
    GdiTally::deleteObject(trough);
    return 0;
}
