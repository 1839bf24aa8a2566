// A picture of 24-bit pixels: read from the BMP files POV-Ray writes, and
// written again as BMP or PNG. Needs no platform.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class RgbImage {
  public:
    // False, leaving the image empty, unless `bytes` is a complete
    // uncompressed 24- or 32-bit BMP file.
    bool readBmp(const std::string& bytes);
    std::string bmpBytes() const;
    // A PNG of stored (uncompressed) deflate blocks: valid everywhere, and
    // simple enough to write without a compression library.
    std::string pngBytes() const;

    // The red, green and blue bytes of a pixel.
    const std::uint8_t* pixel(int x, int y) const { return &rgb[(std::size_t(y) * width + x) * 3]; }

    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // rows from the top, three bytes a pixel
};
