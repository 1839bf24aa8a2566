#include "framework/draw/vMemoryDC.h"

#include "framework/draw/DrawingSetup.h"
#include "framework/draw/GdiTally.h"
#include "framework/draw/Surface.h"

vMemoryDC::vMemoryDC(int width, int height) {
    this->width = width != 0 ? width : drawingSetup().memoryWidth;
    this->height = height != 0 ? height : drawingSetup().memoryHeight;
}

vMemoryDC::~vMemoryDC() {
    GdiTally::deleteObject(bitmap);
}

void vMemoryDC::beginDraw() {
    HWND frame = drawingSetup().frameWindow;
    // Once the frame is gone the screen stands in for it.
    if (frame && !IsWindow(frame)) frame = nullptr;
    HDC windowDC = GetDC(frame);
    if (!bitmap) bitmap = GdiTally::made(createSurface(windowDC, width, height));
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
