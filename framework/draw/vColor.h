// An RGB colour, and the framework's sixteen standard colours.
#pragma once

#include <cstdint>

class vColor {
  public:
    // Each component keeps its low 8 bits.
    vColor(int red = 0, int green = 0, int blue = 0);

    void setRed(int value);
    void setGreen(int value);
    void setBlue(int value);
    bool operator==(const vColor& other) const { return packed == other.packed; }
    bool operator!=(const vColor& other) const { return packed != other.packed; }

    uint8_t red;
    uint8_t green;
    uint8_t blue;
    // red + green * 256 + blue * 65536, the platform's colour value.
    uint32_t packed;

  private:
    void repack();
};

constexpr int StandardColorCount = 16;

// Black, Red, Dim Red, ... White, in the order of standardColorNames.
const vColor* standardColors();
extern const char* const standardColorNames[StandardColorCount];

// The standard colour index of a 4-bit text attribute colour code.
int textColorIndex(int code);
