// A picture of 24-bit pixels, as the preview shows and saves it. Needs no
// platform; render/WicImage reads and writes it as files.
#pragma once

#include <cstdint>
#include <vector>

class RgbImage {
  public:
    // The red, green and blue bytes of a pixel.
    const std::uint8_t* pixel(int x, int y) const { return &rgb[(std::size_t(y) * width + x) * 3]; }

    // Each `factor` x `factor` block as one pixel of their mean; the last
    // row and column of blocks may be partial.
    RgbImage shrunk(int factor) const {
        RgbImage small;
        small.width = (width + factor - 1) / factor;
        small.height = (height + factor - 1) / factor;
        small.rgb.resize(std::size_t(small.width) * small.height * 3);
        for (int y = 0; y < small.height; ++y)
            for (int x = 0; x < small.width; ++x)
                for (int c = 0; c < 3; ++c) {
                    int sum = 0, count = 0;
                    for (int v = y * factor; v < height && v < (y + 1) * factor; ++v)
                        for (int u = x * factor; u < width && u < (x + 1) * factor; ++u)
                            sum += pixel(u, v)[c], ++count;
                    small.rgb[(std::size_t(y) * small.width + x) * 3 + c] =
                        std::uint8_t((sum + count / 2) / count);
                }
        return small;
    }

    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // rows from the top, three bytes a pixel
};
