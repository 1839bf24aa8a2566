// A line colour, width and style, with its native pen made on demand.
#pragma once

#include "framework/draw/CachedHandle.h"
#include "framework/draw/vColor.h"

#include <windows.h>

// Every style code not listed here draws solid lines.
enum PenStyle { PenSolid = 1, PenTransparent = 2, PenDash = 9, PenDot = 10, PenDashDot = 11 };

class vPen {
  public:
    vPen(int red = 0, int green = 0, int blue = 0, int width = 1, int style = PenSolid);
    void setColor(const vColor& value);
    void setColor(int red, int green, int blue);
    void setWidth(int value);
    void setStyle(int value);
    vColor getColor() const { return color; }
    int getWidth() const { return width; }
    int getStyle() const { return style; }

    // The cached native pen, created first if needed.
    HPEN nativePen();

    vColor color;
    int width;
    int style;
    // Copies describe the same object; each makes its own native one.
    CachedHandle<HPEN> native;
};
