// A picture of 24-bit pixels, as the preview shows and saves it. Needs no
// platform; render/WicImage reads and writes it as files.
#pragma once

#include <cstdint>
#include <vector>

class RgbImage {
  public:
    // The red, green and blue bytes of a pixel.
    const std::uint8_t* pixel(int x, int y) const { return &rgb[(std::size_t(y) * width + x) * 3]; }

    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // rows from the top, three bytes a pixel
};
