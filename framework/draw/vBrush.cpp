#include "framework/draw/vBrush.h"

vBrush::vBrush(int red, int green, int blue, int style, int fillCode)
    : fillCode(fillCode), style(style), color(red, green, blue) {}

void vBrush::setColor(const vColor& value) {
    if (value == color) return;
    color = value;
    native.drop();
}

void vBrush::setColor(int red, int green, int blue) {
    setColor(vColor(red, green, blue));
}

void vBrush::setStyle(int value) {
    if (value == style) return;
    style = value;
    native.drop();
}

HBRUSH vBrush::nativeBrush() {
    return native.get([this] {
        if (style == BrushTransparent) {
            LOGBRUSH hollow = {BS_HOLLOW, 0, 0};
            return CreateBrushIndirect(&hollow);
        }
        // The platform's hatches 0 to 5 are in the order of our styles 3 to 8.
        if (style >= BrushHorizontalHatch && style <= BrushDiagonalCrossHatch)
            return CreateHatchBrush(style - BrushHorizontalHatch, color.packed);
        return CreateSolidBrush(color.packed);
    });
}
