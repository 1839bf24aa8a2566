#include "framework/draw/vBrush.h"

#include "framework/draw/GdiTally.h"

vBrush::vBrush(int red, int green, int blue, int style, int fillCode)
    : fillCode(fillCode), style(style), color(red, green, blue) {}

vBrush::vBrush(const vBrush& other)
    : fillCode(other.fillCode), style(other.style), color(other.color) {}

vBrush& vBrush::operator=(const vBrush& other) {
    if (this == &other) return *this;
    dropNative();
    fillCode = other.fillCode;
    style = other.style;
    color = other.color;
    return *this;
}

vBrush::~vBrush() {
    dropNative();
}

void vBrush::dropNative() {
    if (!hasNative) return;
    GdiTally::deleteObject(native);
    native = nullptr;
    hasNative = 0;
}

void vBrush::setColor(const vColor& value) {
    if (value == color) return;
    color = value;
    dropNative();
}

void vBrush::setColor(int red, int green, int blue) {
    setColor(vColor(red, green, blue));
}

void vBrush::setStyle(int value) {
    if (value == style) return;
    style = value;
    dropNative();
}

HBRUSH vBrush::nativeBrush() {
    if (hasNative) return native;
    if (style == BrushTransparent) {
        LOGBRUSH hollow = {BS_HOLLOW, 0, 0};
        native = CreateBrushIndirect(&hollow);
    } else if (style >= BrushHorizontalHatch && style <= BrushDiagonalCrossHatch) {
        // The platform's hatches 0 to 5 are in the order of our styles 3 to 8.
        native = CreateHatchBrush(style - BrushHorizontalHatch, color.packed);
    } else {
        native = CreateSolidBrush(color.packed);
    }
    GdiTally::made(native);
    hasNative = native != nullptr;
    return native;
}
