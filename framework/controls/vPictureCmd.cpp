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
    pictureWidth = rgb && w > 0 && h > 0 ? w : 0;
    pictureHeight = pictureWidth ? h : 0;
    std::size_t step = (std::size_t(pictureWidth) * 3 + 3) / 4 * 4;
    rows.assign(step * std::size_t(pictureHeight), 0);
    for (int row = 0; row < pictureHeight; ++row)
        for (int column = 0; column < pictureWidth; ++column) {
            const std::uint8_t* from = rgb + (std::size_t(row) * w + column) * 3;
            std::uint8_t* to = &rows[step * row + std::size_t(column) * 3];
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    InvalidateRect(controlWindow(id), nullptr, FALSE);
}

int vPictureCmd::drawItem(int, DRAWITEMSTRUCT* record) {
    const RECT& box = record->rcItem;
    int boxWidth = box.right - box.left, boxHeight = box.bottom - box.top;
    OwnerDrawing drawing(record->hDC);
    drawing.select(GetStockObject(NULL_PEN));
    drawing.select(drawing.solidBrush(GetSysColor(COLOR_BTNFACE)));
    drawing.fill(box.left, box.top, box.right + 1, box.bottom + 1);
    if (!pictureWidth) return 1;
    // Never enlarged: a small frame stays sharp.
    double scale =
        std::min({1.0, double(boxWidth) / pictureWidth, double(boxHeight) / pictureHeight});
    int w = std::max(1, int(pictureWidth * scale)), h = std::max(1, int(pictureHeight * scale));
    BITMAPINFO info = {};
    info.bmiHeader = {
        sizeof info.bmiHeader, pictureWidth, -pictureHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    SetStretchBltMode(record->hDC, HALFTONE);
    SetBrushOrgEx(record->hDC, 0, 0, nullptr);
    StretchDIBits(record->hDC, box.left + (boxWidth - w) / 2, box.top + (boxHeight - h) / 2, w, h,
                  0, 0, pictureWidth, pictureHeight, rows.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    return 1;
}
