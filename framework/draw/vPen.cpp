#include "framework/draw/vPen.h"

vPen::vPen(int red, int green, int blue, int width, int style)
    : color(red, green, blue), width(width), style(style) {}

void vPen::setColor(const vColor& value) {
    if (value == color) return;
    color = value;
    native.drop();
}

void vPen::setColor(int red, int green, int blue) {
    setColor(vColor(red, green, blue));
}

void vPen::setWidth(int value) {
    if (value == width) return;
    width = value;
    native.drop();
}

void vPen::setStyle(int value) {
    if (value == style) return;
    style = value;
    native.drop();
}

HPEN vPen::nativePen() {
    return native.get([this] {
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
        return CreatePen(platformStyle, platformWidth, color.packed);
    });
}
