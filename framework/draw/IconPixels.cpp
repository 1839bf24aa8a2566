#include "framework/draw/IconPixels.h"

#include <cstddef>

namespace {

uint32_t packRgb(const unsigned char* rgb) {
    return uint32_t(rgb[0]) | uint32_t(rgb[1]) << 8 | uint32_t(rgb[2]) << 16;
}

uint8_t reverseBits(uint8_t byte) {
    uint8_t result = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (byte & (1 << bit)) result |= uint8_t(0x80 >> bit);
    return result;
}

} // namespace

int IconPixels::monoRowBytes() const {
    int bytes = (width + 7) / 8;
    return bytes + (bytes & 1);
}

std::vector<uint8_t> IconPixels::monoRows() const {
    int dataBytes = (width + 7) / 8;
    int rowBytes = monoRowBytes();
    std::vector<uint8_t> rows(std::size_t(rowBytes) * std::size_t(height), 0xFF);
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < dataBytes; ++i)
            rows[std::size_t(y) * rowBytes + i] = reverseBits(data[std::size_t(y) * dataBytes + i]);
    return rows;
}

bool IconPixels::indexesFitPalette() const {
    if (depth != 8) return true;
    int last = data[0];
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (int(keyAt(x, y)) > last) return false;
    return true;
}

uint32_t IconPixels::keyAt(int x, int y) const {
    std::size_t pixel = std::size_t(y) * std::size_t(width) + std::size_t(x);
    if (depth == 8) {
        int paletteSize = data[0] + 1;
        return data[1 + 3 * paletteSize + pixel];
    }
    return packRgb(data + 3 * pixel);
}

uint32_t IconPixels::colorAt(int x, int y) const {
    if (depth != 8) return keyAt(x, y);
    return packRgb(data + 1 + 3 * keyAt(x, y));
}

bool IconPixels::isTransparentAt(int x, int y) const {
    return keyAt(x, y) == keyAt(0, height - 1);
}
