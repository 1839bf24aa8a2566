// Pictures through the platform's imaging component: reads what POV-Ray
// writes and writes compressed PNG or BMP. Windows only.
#pragma once

#include "render/RgbImage.h"

#include <string>

class WicImage {
  public:
    enum Format { Png, Bmp };

    // False, leaving `image` empty, unless `bytes` hold a picture in a
    // format the platform reads (BMP, PNG, ...).
    static bool decode(const std::string& bytes, RgbImage& image);
    // The same for the file at `path` (UTF-8).
    static bool read(const std::string& path, RgbImage& image);
    // The file bytes of `image` in `format`; "" when it cannot be encoded.
    static std::string encode(const RgbImage& image, Format format);
};
