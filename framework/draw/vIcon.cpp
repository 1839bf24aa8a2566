#include "framework/draw/vIcon.h"

#include "framework/draw/GdiTally.h"
#include "framework/draw/IconPixels.h"

vIcon::vIcon(const unsigned char* data, int height, int width, int depth, int transparent)
    : transparent(transparent), height(height), width(width), depth(depth), data(data) {}

vIcon::~vIcon() {
    GdiTally::deleteObject(bitmap);
    GdiTally::deleteObject(mask);
}

void vIcon::buildBitmap(HDC device) {
    IconPixels pixels(data, height, width, depth);
    if (depth == 1) {
        std::vector<uint8_t> rows = pixels.monoRows();
        bitmap = GdiTally::made(CreateBitmap(width, height, 1, 1, rows.data()));
        return;
    }
    if (depth != 8 && depth != 24) return;
    bool withMask = transparent != 0;
    bitmap = GdiTally::made(CreateCompatibleBitmap(device, width, height));
    if (withMask) mask = GdiTally::made(CreateCompatibleBitmap(device, width, height));
    HDC memory = CreateCompatibleDC(device);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixelV(memory, x, y, pixels.colorAt(x, y));
    if (withMask) {
        SelectObject(memory, mask);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                SetPixelV(memory, x, y, pixels.isTransparentAt(x, y) ? 0 : 0xFFFFFF);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
}
