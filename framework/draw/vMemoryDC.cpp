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
    // Without a frame window the screen stands in for it; a null context
    // means the screen to the platform and costs no GetDC.
    HDC windowDC = frame && IsWindow(frame) ? GetDC(frame) : nullptr;
    if (!bitmap) bitmap = GdiTally::made(createSurface(windowDC, width, height));
    if (!bitmap) {
        if (windowDC) ReleaseDC(frame, windowDC);
        hdc = nullptr;
        return;
    }
    hdc = CreateCompatibleDC(windowDC);
    if (windowDC) ReleaseDC(frame, windowDC);
    if (hdc) previousBitmap = SelectObject(hdc, bitmap);
}

void vMemoryDC::endDraw() {
    if (!hdc) return;
    SelectObject(hdc, previousBitmap);
    DeleteDC(hdc);
    hdc = nullptr;
}
