// A fill colour and style, with its native brush made on demand.
#pragma once

#include "framework/draw/CachedHandle.h"
#include "framework/draw/vColor.h"

#include <windows.h>

// Every style code not listed here fills solid.
enum BrushStyle {
    BrushSolid = 1,
    BrushTransparent = 2,
    BrushHorizontalHatch = 3,
    BrushVerticalHatch = 4,
    BrushForwardDiagonalHatch = 5,
    BrushBackwardDiagonalHatch = 6,
    BrushCrossHatch = 7,
    BrushDiagonalCrossHatch = 8
};

// The fill code drawPolygon takes for alternate filling.
constexpr int FillAlternate = 12;

class vBrush {
  public:
    vBrush(int red = 0, int green = 0, int blue = 0, int style = BrushSolid,
           int fillCode = FillAlternate);
    void setColor(const vColor& value);
    void setColor(int red, int green, int blue);
    void setStyle(int value);
    vColor getColor() const { return color; }
    int getStyle() const { return style; }

    // The cached native brush, created first if needed.
    HBRUSH nativeBrush();

    int fillCode;
    int style;
    // Copies describe the same object; each makes its own native one.
    CachedHandle<HBRUSH> native;
    vColor color;
};
