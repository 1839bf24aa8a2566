#include "framework/draw/DevicePicture.h"

DevicePicture::DevicePicture(int width, int height, const std::uint8_t* rgb) {
    if (!rgb || width <= 0 || height <= 0) return;
    width_ = width;
    height_ = height;
    std::size_t step = (std::size_t(width) * 3 + 3) / 4 * 4;
    rows_.assign(step * std::size_t(height), 0);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) {
            const std::uint8_t* from = rgb + (std::size_t(row) * width + column) * 3;
            std::uint8_t* to = &rows_[step * row + std::size_t(column) * 3];
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
}

void DevicePicture::draw(HDC dc, int x, int y, int w, int h) const {
    if (!width_) return;
    BITMAPINFO info = {};
    // Rows from the top.
    info.bmiHeader = {sizeof info.bmiHeader, width_, -height_, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    if (w != width_ || h != height_) {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
    }
    StretchDIBits(dc, x, y, w, h, 0, 0, width_, height_, rows_.data(), &info, DIB_RGB_COLORS,
                  SRCCOPY);
}
