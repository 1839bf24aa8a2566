// Reads an icon's static pixel data: one-bit rows in the platform's
// monochrome bitmap order, and the colours and transparent key of 8- and
// 24-bit icons.
#pragma once

#include <cstdint>
#include <vector>

class IconPixels {
  public:
    IconPixels(const unsigned char* data, int height, int width, int depth)
        : data(data), height(height), width(width), depth(depth) {}

    // Bytes per row of the platform's monochrome bitmap: the data's
    // (width + 7) / 8 rounded up to an even count.
    int monoRowBytes() const;
    // A one-bit icon's rows with each byte's bit order reversed (the data
    // keeps the leftmost pixel in the low bit) and odd rows padded with 0xFF.
    std::vector<uint8_t> monoRows() const;
    // False for an 8-bit icon with a pixel that indexes past its palette,
    // whose colour would be read from beyond the data.
    bool indexesFitPalette() const;
    // The packed colour of pixel (x, y) of an 8- or 24-bit icon.
    uint32_t colorAt(int x, int y) const;
    // Whether (x, y) has the colour (for 8 bits: the palette index) of the
    // first pixel of the last row.
    bool isTransparentAt(int x, int y) const;

  private:
    // The palette index (8 bits) or packed colour (24 bits) of a pixel.
    uint32_t keyAt(int x, int y) const;

    const unsigned char* data;
    int height;
    int width;
    int depth;
};
