#include "framework/draw/vColor.h"

vColor::vColor(int red, int green, int blue)
    : red(uint8_t(red)), green(uint8_t(green)), blue(uint8_t(blue)) {
    repack();
}

void vColor::setRed(int value) {
    red = uint8_t(value);
    repack();
}

void vColor::setGreen(int value) {
    green = uint8_t(value);
    repack();
}

void vColor::setBlue(int value) {
    blue = uint8_t(value);
    repack();
}

void vColor::repack() {
    packed = uint32_t(red) | uint32_t(green) << 8 | uint32_t(blue) << 16;
}

namespace {

const vColor standardColorTable[StandardColorCount] = {
    {0, 0, 0},     {255, 0, 0},   {127, 0, 0},     {0, 255, 0},    {0, 127, 0},   {0, 0, 255},
    {0, 0, 127},   {255, 255, 0}, {127, 127, 0},   {255, 0, 255},  {127, 0, 127}, {0, 255, 255},
    {0, 127, 127}, {63, 63, 63},  {127, 127, 127}, {255, 255, 255}};

// Text attribute codes follow the bit order blue, green, red, bright.
const int textColorMap[StandardColorCount] = {0, 5, 3, 11, 1, 9, 7, 15, 13, 6, 4, 12, 2, 10, 8, 14};

} // namespace

const char* const standardColorNames[StandardColorCount] = {
    "Black",      "Red",     "Dim Red",     "Green", "Dim Green", "Blue",      "Dim Blue", "Yellow",
    "Dim Yellow", "Magenta", "Dim Magenta", "Cyan",  "Dim Cyan",  "Dark Gray", "Med Gray", "White"};

const vColor* standardColors() {
    return standardColorTable;
}

int textColorIndex(int code) {
    return textColorMap[code & 15];
}
