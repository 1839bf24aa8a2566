#include "framework/draw/vIcon.h"

#include "framework/draw/GdiTally.h"
#include "framework/draw/IconPixels.h"
#include "framework/draw/Surface.h"

vIcon::vIcon(const unsigned char* data, int height, int width, int depth, int transparent)
    : transparent(transparent), height(height), width(width), depth(depth), data(data) {}

vIcon::~vIcon() {
    dropBitmaps();
}

void vIcon::dropBitmaps() {
    GdiTally::deleteObject(bitmap);
    GdiTally::deleteObject(mask);
    bitmap = mask = nullptr;
}

void vIcon::buildBitmap(HDC device) {
    IconPixels pixels(data, height, width, depth);
    if (depth == 1) {
        std::vector<uint8_t> rows = pixels.monoRows();
        bitmap = GdiTally::made(CreateBitmap(width, height, 1, 1, rows.data()));
        return;
    }
    if ((depth != 8 && depth != 24) || !pixels.indexesFitPalette()) return;
    bool withMask = transparent != 0;
    bitmap = GdiTally::made(createSurface(device, width, height));
    if (withMask) mask = GdiTally::made(createSurface(device, width, height));
    HDC memory = CreateCompatibleDC(device);
    // Half an icon is none: the next drawing tries again from the start.
    if (!bitmap || (withMask && !mask) || !memory) {
        if (memory) DeleteDC(memory);
        dropBitmaps();
        return;
    }
    HGDIOBJ previous = SelectObject(memory, bitmap);
    // A masked picture keeps black where it is transparent, so that it can be
    // laid into the hole the mask cuts with a plain OR.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixelV(memory, x, y,
                      withMask && pixels.isTransparentAt(x, y) ? 0 : pixels.colorAt(x, y));
    if (withMask) {
        SelectObject(memory, mask);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                SetPixelV(memory, x, y, pixels.isTransparentAt(x, y) ? 0 : 0xFFFFFF);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
}
