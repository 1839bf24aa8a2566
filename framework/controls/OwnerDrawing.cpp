#include "framework/controls/OwnerDrawing.h"

#include "framework/app/WideText.h"
#include "framework/app/vApp.h"
#include "framework/draw/vIcon.h"

namespace {

bool drawable(const vIcon& icon) {
    return icon.data && icon.width > 0 && icon.height > 0 &&
           (icon.depth == 1 || icon.depth == 8 || icon.depth == 24);
}

} // namespace

OwnerDrawing::OwnerDrawing(HDC dc) : dc(dc), saved(SaveDC(dc)) {}

OwnerDrawing::~OwnerDrawing() {
    RestoreDC(dc, saved);
    if (made) DeleteObject(made);
}

HBRUSH OwnerDrawing::solidBrush(COLORREF color) {
    if (!made) made = CreateSolidBrush(color);
    return made;
}

void OwnerDrawing::raisedEdge(const RECT& r, HPEN topLeft, HPEN bottomRight) {
    SelectObject(dc, topLeft);
    MoveToEx(dc, r.left, r.bottom, nullptr);
    LineTo(dc, r.left, r.top);
    LineTo(dc, r.right - 1, r.top);
    MoveToEx(dc, r.left + 1, r.bottom + 1, nullptr);
    LineTo(dc, r.left + 1, r.top + 1);
    LineTo(dc, r.right - 2, r.top + 1);
    SelectObject(dc, bottomRight);
    MoveToEx(dc, r.right - 1, r.top + 1, nullptr);
    LineTo(dc, r.right - 1, r.bottom - 1);
    LineTo(dc, r.left, r.bottom - 1);
    MoveToEx(dc, r.right - 2, r.top + 1, nullptr);
    LineTo(dc, r.right - 2, r.bottom - 2);
    LineTo(dc, r.left + 1, r.bottom - 2);
}

void OwnerDrawing::pressedEdge(const RECT& r, int bottom) {
    SelectObject(dc, theApp->shadowPen);
    MoveToEx(dc, r.left, r.bottom, nullptr);
    LineTo(dc, r.left, r.top);
    LineTo(dc, r.right, r.top);
    MoveToEx(dc, r.left + 1, bottom, nullptr);
    LineTo(dc, r.left + 1, r.top + 1);
    LineTo(dc, r.right - 1, r.top + 1);
}

void OwnerDrawing::caption(const char* text, RECT r) {
    DrawTextW(dc, wideText(text).c_str(), -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

void OwnerDrawing::icon(vIcon& icon, int x, int y, bool silhouette) {
    if (!drawable(icon)) return;
    if (!icon.bitmap) icon.buildBitmap(dc);
    if (!icon.bitmap) return;
    POINT size[2] = {{0, 0}, {icon.width, icon.height}};
    DPtoLP(dc, size, 2);
    int w = size[1].x - size[0].x;
    int h = size[1].y - size[0].y;
    HDC picture = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(picture, icon.bitmap);
    if (icon.depth == 1 || silhouette) {
        // Set bits come through as the white background: they take the brush.
        SetBkColor(dc, 0xFFFFFF);
        SetTextColor(dc, 0);
        BitBlt(dc, x, y, w, h, picture, 0, 0, 0xE20746);
    } else {
        BitBlt(dc, x, y, w, h, picture, 0, 0, SRCCOPY);
        if (icon.transparent && icon.mask) {
            // The mask is black where transparent: there the brush shows.
            SelectObject(picture, icon.mask);
            BitBlt(dc, x, y, w, h, picture, 0, 0, 0xB8074A);
        }
    }
    SelectObject(picture, previous);
    DeleteDC(picture);
}
