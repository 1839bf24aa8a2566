// A picture of red, green and blue bytes, rows from the top, held in the
// form the platform draws: blue first, each row filled to whole 32-bit words.
#pragma once

#include <cstdint>
#include <vector>
#include <windows.h>

class DevicePicture {
  public:
    DevicePicture() = default;
    // Empty without pixels or with no size.
    DevicePicture(int width, int height, const std::uint8_t* rgb);

    int width() const { return width_; }
    int height() const { return height_; }
    // Draws it with its corner at (x, y) of `dc`, `w` by `h` pixels; another
    // size than its own is scaled with halftone.
    void draw(HDC dc, int x, int y, int w, int h) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> rows_;
};
