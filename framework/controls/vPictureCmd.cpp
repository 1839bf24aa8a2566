#include "framework/controls/vPictureCmd.h"

#include "framework/controls/OwnerDrawing.h"
#include "framework/dialogs/vCmdParent.h"

#include <algorithm>

vPictureCmd::vPictureCmd(vCmdParent* parent, CommandObject* record) : vCmd(parent, record) {
    vPictureCmd::initialize();
}

void vPictureCmd::initialize() {
    loadCommon();
    const CommandObject& record = *cmdObject;
    width = record.size > 0 ? record.size : 80;
    height = width * 3 / 4;
    parent->placeCommand(x, y, width, height, record.frameId, record.rightOfId, record.belowId, 0);
    templateItemOffset = parent->addTemplateItem(
        x, y, width, height, id, SS_OWNERDRAW | visibleStyle(), "STATIC", "", 0, nullptr);
}

void vPictureCmd::setPicture(int w, int h, const std::uint8_t* rgb) {
    picture = DevicePicture(w, h, rgb);
    InvalidateRect(controlWindow(id), nullptr, FALSE);
}

int vPictureCmd::drawItem(int, DRAWITEMSTRUCT* record) {
    const RECT& box = record->rcItem;
    int boxWidth = box.right - box.left, boxHeight = box.bottom - box.top;
    OwnerDrawing drawing(record->hDC);
    drawing.select(GetStockObject(NULL_PEN));
    drawing.select(drawing.solidBrush(GetSysColor(COLOR_BTNFACE)));
    drawing.fill(box.left, box.top, box.right + 1, box.bottom + 1);
    if (!picture.width()) return 1;
    // Never enlarged: a small frame stays sharp.
    double scale =
        std::min({1.0, double(boxWidth) / picture.width(), double(boxHeight) / picture.height()});
    int w = std::max(1, int(picture.width() * scale)),
        h = std::max(1, int(picture.height() * scale));
    picture.draw(record->hDC, box.left + (boxWidth - w) / 2, box.top + (boxHeight - h) / 2, w, h);
    return 1;
}
