// Reads back what a memory drawing context holds, pixel by pixel.
#pragma once

#include "framework/draw/vMemoryDC.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <vector>

// The pixels of a memory context, read once, as packed colours.
class Pixels {
  public:
    explicit Pixels(vMemoryDC& dc) : width(dc.width), height(dc.height) {
        dc.beginDraw(); // makes sure the bitmap exists
        dc.endDraw();
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<uint32_t> bgra(size_t(width) * size_t(height));
        HDC screen = GetDC(nullptr);
        GetDIBits(screen, dc.bitmap, 0, UINT(height), bgra.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        for (uint32_t& p : bgra)
            p = (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF);
        pixels = std::move(bgra);
    }
    uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    // The smallest rectangle holding every pixel that differs from `ground`,
    // as left, top, right, bottom (inclusive); all -1 when there is none.
    std::vector<int> extent(uint32_t ground = 0xFFFFFF) const {
        int left = width, top = height, right = -1, bottom = -1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (at(x, y) != ground) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        if (right < 0) return {-1, -1, -1, -1};
        return {left, top, right, bottom};
    }
    int count(uint32_t color) const { return int(std::count(pixels.begin(), pixels.end(), color)); }
    bool operator==(const Pixels& other) const { return pixels == other.pixels; }

  private:
    int width;
    int height;
    std::vector<uint32_t> pixels;
};

using Box = std::vector<int>;

// A pixel a picture must have: its place and packed colour.
struct Spot {
    int x, y;
    uint32_t color;
};
// Checks every spot; a failure names the spot.
template <std::size_t N> void expectSpots(const Pixels& p, const Spot (&spots)[N]) {
    for (const Spot& s : spots)
        EXPECT_EQ(p.at(s.x, s.y), s.color) << "at (" << s.x << ", " << s.y << ")";
}
