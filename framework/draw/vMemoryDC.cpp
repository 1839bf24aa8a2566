#include "framework/draw/vMemoryDC.h"

#include "framework/app/vApp.h"
#include "framework/draw/GdiTally.h"

vMemoryDC::vMemoryDC(int width, int height) {
    this->width = width != 0 || !theApp ? width : theApp->defaultWidth;
    this->height = height != 0 || !theApp ? height : theApp->defaultHeight;
}

vMemoryDC::~vMemoryDC() {
    GdiTally::deleteObject(bitmap);
}

void vMemoryDC::beginDraw() {
    HWND frame = theApp ? theApp->frameWindow : nullptr;
    HDC windowDC = GetDC(frame);
    if (!bitmap) bitmap = GdiTally::made(CreateCompatibleBitmap(windowDC, width, height));
    if (!bitmap) {
        ReleaseDC(frame, windowDC);
        hdc = nullptr;
        return;
    }
    hdc = CreateCompatibleDC(windowDC);
    ReleaseDC(frame, windowDC);
    if (hdc) previousBitmap = SelectObject(hdc, bitmap);
}

void vMemoryDC::endDraw() {
    if (!hdc) return;
    SelectObject(hdc, previousBitmap);
    DeleteDC(hdc);
    hdc = nullptr;
}
