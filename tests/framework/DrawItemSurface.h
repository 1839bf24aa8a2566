// A white 40 by 30 memory surface that a command paints into through its
// draw-item call, then read back pixel by pixel.
#pragma once

#include "framework/controls/vCmd.h"

#include <windows.h>

struct DrawItemSurface {
    DrawItemSurface() {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 40, -30, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~DrawItemSurface() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    DrawItemSurface(const DrawItemSurface&) = delete;
    DrawItemSurface& operator=(const DrawItemSurface&) = delete;

    // Clears to white, then lets the command paint; its draw-item answer.
    int paint(vCmd& command, UINT action = ODA_DRAWENTIRE, UINT state = 0) {
        RECT all = {0, 0, 40, 30};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DRAWITEMSTRUCT item = {ODT_BUTTON, UINT(command.id), 0, action, state, nullptr, dc, all, 0};
        return command.drawItem(command.id, &item);
    }
    COLORREF at(int x, int y) { return GetPixel(dc, x, y); }
    // Whether any pixel of row `y` differs from the other surface's.
    bool rowDiffers(DrawItemSurface& other, int y) {
        for (int x = 0; x < 40; ++x)
            if (at(x, y) != other.at(x, y)) return true;
        return false;
    }

    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};
