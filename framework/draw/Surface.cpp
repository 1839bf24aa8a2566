#include "framework/draw/Surface.h"

namespace {

HBITMAP createFor(HDC device, int width, int height) {
    int bits = GetDeviceCaps(device, BITSPIXEL) * GetDeviceCaps(device, PLANES);
    if (width <= 0 || height <= 0 || (bits != 24 && bits != 32))
        return CreateCompatibleBitmap(device, width, height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first, like compatible bitmaps
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = WORD(bits);
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    return CreateDIBSection(device, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
}

} // namespace

HBITMAP createSurface(HDC device, int width, int height) {
    if (device) return createFor(device, width, height);
    HDC screen = GetDC(nullptr);
    HBITMAP made = createFor(screen, width, height);
    ReleaseDC(nullptr, screen);
    return made;
}
