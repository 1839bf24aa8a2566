#include "framework/draw/vPen.h"

#include "framework/draw/GdiTally.h"

vPen::vPen(int red, int green, int blue, int width, int style)
    : color(red, green, blue), width(width), style(style) {}

vPen::vPen(const vPen& other) : color(other.color), width(other.width), style(other.style) {}

vPen& vPen::operator=(const vPen& other) {
    if (this == &other) return *this;
    dropNative();
    color = other.color;
    width = other.width;
    style = other.style;
    return *this;
}

vPen::~vPen() {
    dropNative();
}

void vPen::dropNative() {
    if (!hasNative) return;
    GdiTally::deleteObject(native);
    native = nullptr;
    hasNative = 0;
}

void vPen::setColor(const vColor& value) {
    if (value == color) return;
    color = value;
    dropNative();
}

void vPen::setColor(int red, int green, int blue) {
    setColor(vColor(red, green, blue));
}

void vPen::setWidth(int value) {
    if (value == width) return;
    width = value;
    dropNative();
}

void vPen::setStyle(int value) {
    if (value == style) return;
    style = value;
    dropNative();
}

HPEN vPen::nativePen() {
    if (hasNative) return native;
    int platformStyle = PS_SOLID;
    int platformWidth = width;
    switch (style) {
    case PenTransparent: platformStyle = PS_NULL; break;
    // The platform draws its patterned styles only one pixel wide.
    case PenDash: platformStyle = PS_DASH, platformWidth = 1; break;
    case PenDot: platformStyle = PS_DOT, platformWidth = 1; break;
    case PenDashDot: platformStyle = PS_DASHDOT, platformWidth = 1; break;
    default: break;
    }
    native = GdiTally::made(CreatePen(platformStyle, platformWidth, color.packed));
    hasNative = native != nullptr;
    return native;
}
