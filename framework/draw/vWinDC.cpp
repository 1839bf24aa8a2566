#include "framework/draw/vWinDC.h"

#include "framework/app/WideText.h"
#include "framework/draw/BlockCopy.h"
#include "framework/draw/DevicePicture.h"
#include "framework/draw/GdiTally.h"
#include "framework/draw/vIcon.h"
#include "framework/draw/vMemoryDC.h"

#include <cstring>
#include <optional>
#include <vector>

// Brackets one operation with beginDraw and endDraw; false when there is no
// surface to draw on.
class vWinDC::Drawing {
  public:
    explicit Drawing(vWinDC& dc) : dc(dc) { dc.beginDraw(); }
    ~Drawing() { dc.endDraw(); }
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;
    explicit operator bool() const { return dc.hdc != nullptr; }

  private:
    vWinDC& dc;
};

// Selects a pen, and a brush when one is given, for one drawing and selects
// the previous objects back afterwards.
class vWinDC::Tools {
  public:
    Tools(vWinDC& dc, HPEN pen, HBRUSH brush = nullptr) : hdc(dc.hdc) {
        dc.currentPen = pen;
        oldPen = SelectObject(hdc, pen);
        if (!brush) return;
        dc.currentBrush = brush;
        oldBrush = SelectObject(hdc, brush);
    }
    ~Tools() {
        if (oldBrush) SelectObject(hdc, oldBrush);
        SelectObject(hdc, oldPen);
    }
    Tools(const Tools&) = delete;
    Tools& operator=(const Tools&) = delete;

  private:
    HDC hdc;
    HGDIOBJ oldPen;
    HGDIOBJ oldBrush = nullptr;
};

// Selects the current font, made for this device, around text output or
// measurement.
class vWinDC::FontIn {
  public:
    explicit FontIn(vWinDC& dc)
        : hdc(dc.hdc), old(SelectObject(hdc, dc.font.nativeFont(hdc, dc.deviceFlag > 0))) {}
    ~FontIn() { SelectObject(hdc, old); }
    FontIn(const FontIn&) = delete;
    FontIn& operator=(const FontIn&) = delete;

  private:
    HDC hdc;
    HGDIOBJ old;
};

// Draws outlines by inverting: a white copy of the pen mixed in by
// exclusive-or, so a second drawing restores the surface.
class vWinDC::Rubber {
  public:
    explicit Rubber(vWinDC& dc)
        : tools(dc, whitePen(dc), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))), hdc(dc.hdc) {
        SetROP2(hdc, R2_XORPEN);
    }
    ~Rubber() { SetROP2(hdc, R2_COPYPEN); }
    Rubber(const Rubber&) = delete;
    Rubber& operator=(const Rubber&) = delete;

  private:
    // The context's pen turned white, kept between drawings.
    static HPEN whitePen(vWinDC& dc) {
        dc.rubberPen.setColor(255, 255, 255);
        dc.rubberPen.setWidth(dc.pen.width);
        dc.rubberPen.setStyle(dc.pen.style);
        return dc.rubberPen.nativePen();
    }
    Tools tools;
    HDC hdc;
};

vWinDC::vWinDC()
    : currentPen(static_cast<HPEN>(GetStockObject(BLACK_PEN))),
      currentBrush(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))) {}

void vWinDC::fillBackground(int x, int y, int w, int h) {
    if (w == 0 || h == 0) return;
    Drawing drawing(*this);
    if (!drawing) return;
    backgroundBrush.setColor(int(background), int(background >> 8), int(background >> 16));
    RECT area = {x, y, x + w, y + h};
    SetBkColor(hdc, background);
    FillRect(hdc, &area, backgroundBrush.nativeBrush());
}

void vWinDC::copyFromMemoryDC(vMemoryDC* source, int destX, int destY, int srcX, int srcY, int w,
                              int h) {
    if (!source) return;
    BlockCopy copy = {destX, destY, srcX, srcY, w, h};
    if (!clipBlockCopy(copy, source->width, source->height, width, height)) return;
    Drawing drawing(*this);
    // A copy within one buffer goes through its one native context.
    std::optional<Drawing> sourceDrawing;
    if (source != this) sourceDrawing.emplace(*source);
    if (!hdc || !source->hdc) return;
    BitBlt(hdc, copy.destX, copy.destY, copy.width, copy.height, source->hdc, copy.srcX, copy.srcY,
           SRCCOPY);
}

int vWinDC::cellHeight() {
    if (deviceFlag > 0) return font.pointSize;
    TEXTMETRICA metrics;
    return GetTextMetricsA(hdc, &metrics) ? metrics.tmAscent + metrics.tmDescent : 8;
}

void vWinDC::outputText(int x, int y, const std::wstring& text, uint32_t textColor,
                        uint32_t backColor) {
    Drawing drawing(*this);
    if (!drawing) return;
    FontIn selected(*this);
    COLORREF oldText = SetTextColor(hdc, textColor);
    COLORREF oldBack = SetBkColor(hdc, backColor);
    int oldMode = SetBkMode(hdc, pen.style == PenTransparent ? TRANSPARENT : OPAQUE);
    TextOutW(hdc, mapX(x), mapY(y) - cellHeight(), text.c_str(), int(text.size()));
    SetBkMode(hdc, oldMode);
    SetBkColor(hdc, oldBack);
    SetTextColor(hdc, oldText);
}

void vWinDC::drawText(int x, int y, const char* text) {
    if (!text || !*text) return;
    outputText(x, y, wideText(text), ownTextColor(), background);
}

void vWinDC::drawWideText(int x, int y, const std::wstring& text) {
    if (!text.empty()) outputText(x, y, text, ownTextColor(), background);
}

void vWinDC::drawAttrText(int x, int y, const char* text, int attributes) {
    int code = (attributes >> 4) & 15;
    auto codeColor = [](int c) { return standardColors()[textColorIndex(c)].packed; };
    uint32_t textColor;
    uint32_t backColor;
    if (attributes & 2) {
        textColor = code ? codeColor(code) : GetSysColor(COLOR_HIGHLIGHTTEXT);
        backColor = GetSysColor(COLOR_HIGHLIGHT);
    } else if (attributes & 1) {
        textColor = code ? codeColor(code) : background;
        backColor = ownTextColor();
    } else if (attributes & 4) {
        textColor = codeColor(0);
        backColor = codeColor(code);
    } else if (attributes & 8) {
        textColor = codeColor(15);
        backColor = codeColor(code);
    } else {
        textColor = code ? codeColor(code) : ownTextColor();
        backColor = background;
    }
    outputText(x, y, wideText(text ? text : ""), textColor, backColor);
}

void vWinDC::drawEllipse(int x, int y, int w, int h) {
    if (w == 0 || h == 0) return;
    Drawing drawing(*this);
    if (!drawing) return;
    Tools tools(*this, pen.nativePen(), brush.nativeBrush());
    Ellipse(hdc, mapX(x), mapY(y), mapX(x + w), mapY(y + h));
}

void vWinDC::drawIcon(int x, int y, vIcon& icon) {
    Drawing drawing(*this);
    if (!drawing) return;
    if (!icon.bitmap) icon.buildBitmap(hdc);
    if (!icon.bitmap) return;
    bool printer = deviceFlag > 0;
    iconBrush.setColor(pen.color);
    HBRUSH fill =
        printer ? static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)) : iconBrush.nativeBrush();
    HPEN outline = printer ? static_cast<HPEN>(GetStockObject(BLACK_PEN)) : pen.nativePen();
    Tools tools(*this, outline, fill);
    int left = mapX(x);
    int top = mapY(y);
    HDC picture = CreateCompatibleDC(hdc);
    HGDIOBJ oldPicture = SelectObject(picture, icon.mask ? icon.mask : icon.bitmap);
    if (icon.depth == 1) {
        // A monochrome source takes the text colour for 0 bits and the
        // background colour for 1 bits: 1 bits become the brush.
        COLORREF oldText = SetTextColor(hdc, 0);
        COLORREF oldBack = SetBkColor(hdc, 0xFFFFFF);
        BitBlt(hdc, left, top, icon.width, icon.height, picture, 0, 0, 0xE20746);
        SetBkColor(hdc, oldBack);
        SetTextColor(hdc, oldText);
    } else if (icon.mask) {
        // The surface AND the inverted mask, then OR the picture AND the mask,
        // which the icon keeps ready (its transparent pixels are black).
        constexpr DWORD AndInvertedSource = 0x00220326;
        BitBlt(hdc, left, top, icon.width, icon.height, picture, 0, 0, AndInvertedSource);
        SelectObject(picture, icon.bitmap);
        BitBlt(hdc, left, top, icon.width, icon.height, picture, 0, 0, SRCPAINT);
    } else {
        BitBlt(hdc, left, top, icon.width, icon.height, picture, 0, 0, SRCCOPY);
    }
    SelectObject(picture, oldPicture);
    DeleteDC(picture);
}

void vWinDC::drawLine(int x1, int y1, int x2, int y2) {
    Drawing drawing(*this);
    if (!drawing) return;
    Tools tools(*this, pen.nativePen());
    MoveToEx(hdc, mapX(x1), mapY(y1), nullptr);
    LineTo(hdc, mapX(x2), mapY(y2));
}

void vWinDC::drawLines(const int* segments, int count) {
    if (!segments || count <= 0) return;
    Drawing drawing(*this);
    if (!drawing) return;
    Tools tools(*this, pen.nativePen());
    for (const int* s = segments; s < segments + 4 * count; s += 4) {
        MoveToEx(hdc, mapX(s[0]), mapY(s[1]), nullptr);
        LineTo(hdc, mapX(s[2]), mapY(s[3]));
    }
}

std::vector<POINT> vWinDC::mapPoints(const int* points, int count) {
    std::vector<POINT> mapped(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        mapped[static_cast<size_t>(i)] = {mapX(points[2 * i]), mapY(points[2 * i + 1])};
    return mapped;
}

void vWinDC::drawPolyline(const int* points, int count) {
    if (!points || count < 2) return;
    Drawing drawing(*this);
    if (!drawing) return;
    std::vector<POINT> mapped = mapPoints(points, count);
    Tools tools(*this, pen.nativePen());
    Polyline(hdc, mapped.data(), count);
}

void vWinDC::drawColorPoints(int x, int y, int count, const vColor* colors) {
    if (!colors || mapY(y) < 0) return;
    Drawing drawing(*this);
    if (!drawing) return;
    int row = mapY(y);
    for (int i = 0; i < count; ++i) {
        int column = mapX(x + i);
        if (column >= 0) SetPixelV(hdc, column, row, colors[i].packed);
    }
}

void vWinDC::drawImage(int x, int y, int w, int h, const std::uint8_t* rgb) {
    if (!rgb || w <= 0 || h <= 0) return;
    Drawing drawing(*this);
    if (!drawing) return;
    DevicePicture(w, h, rgb).draw(hdc, mapX(x), mapY(y), w, h);
}

void vWinDC::pointLine(int x, int y) {
    MoveToEx(hdc, mapX(x), mapY(y), nullptr);
    LineTo(hdc, mapX(x + 1), mapY(y + 1));
}

void vWinDC::drawPoint(int x, int y) {
    Drawing drawing(*this);
    if (!drawing) return;
    Tools tools(*this, pen.nativePen());
    pointLine(x, y);
}

void vWinDC::drawPoints(const int* points, int count) {
    if (!points || count <= 0) return;
    Drawing drawing(*this);
    if (!drawing) return;
    Tools tools(*this, pen.nativePen());
    for (int i = 0; i < count; ++i)
        pointLine(points[2 * i], points[2 * i + 1]);
}

void vWinDC::drawPolygon(int count, const int* points, int fillRule) {
    // The last of the count points closes the outline; the platform does that.
    int corners = count - 1;
    if (!points || corners < 2) return;
    Drawing drawing(*this);
    if (!drawing) return;
    std::vector<POINT> mapped = mapPoints(points, corners);
    Tools tools(*this, pen.nativePen(), brush.nativeBrush());
    int oldMode = SetPolyFillMode(hdc, fillRule == FillAlternate ? ALTERNATE : WINDING);
    Polygon(hdc, mapped.data(), corners);
    SetPolyFillMode(hdc, oldMode);
}

void vWinDC::drawRoundedRectangle(int x, int y, int w, int h, int radius) {
    if (w == 0 || h == 0) return;
    Drawing drawing(*this);
    if (!drawing) return;
    int corner = radius >= 0 ? scale(radius) : scale(w + h) / (-2 * radius);
    Tools tools(*this, pen.nativePen(), brush.nativeBrush());
    RoundRect(hdc, mapX(x), mapY(y), mapX(x + w), mapY(y + h), corner, corner);
}

void vWinDC::rectangle(int x, int y, int w, int h) {
    if (w == 1 && h == 1) {
        SetPixelV(hdc, mapX(x), mapY(y), brush.color.packed);
        return;
    }
    Tools tools(*this, pen.nativePen(), brush.nativeBrush());
    // The outline includes the right and bottom edges.
    Rectangle(hdc, mapX(x), mapY(y), mapX(x + w) + 1, mapY(y + h) + 1);
}

void vWinDC::drawRectangle(int x, int y, int w, int h) {
    if (w == 0 || h == 0) return;
    Drawing drawing(*this);
    if (!drawing) return;
    rectangle(x, y, w, h);
}

void vWinDC::drawRectangles(const int* rects, int count) {
    if (!rects || count <= 0) return;
    Drawing drawing(*this);
    if (!drawing) return;
    for (const int* r = rects; r < rects + 4 * count; r += 4)
        if (r[2] != 0 || r[3] != 0) rectangle(r[0], r[1], r[2], r[3]);
}

void vWinDC::drawRubberLine(int x1, int y1, int x2, int y2) {
    Drawing drawing(*this);
    if (!drawing) return;
    Rubber rubber(*this);
    MoveToEx(hdc, mapX(x1), mapY(y1), nullptr);
    LineTo(hdc, mapX(x2), mapY(y2));
}

void vWinDC::drawRubberEllipse(int x, int y, int w, int h) {
    if (w == 0 || h == 0) return;
    Drawing drawing(*this);
    if (!drawing) return;
    Rubber rubber(*this);
    Ellipse(hdc, mapX(x), mapY(y), mapX(x + w), mapY(y + h));
}

void vWinDC::drawRubberPoint(int x, int y) {
    Drawing drawing(*this);
    if (!drawing) return;
    Rubber rubber(*this);
    pointLine(x, y);
}

void vWinDC::drawRubberRectangle(int x, int y, int w, int h) {
    if (w == 0 || h == 0) return;
    Drawing drawing(*this);
    if (!drawing) return;
    Rubber rubber(*this);
    Rectangle(hdc, mapX(x), mapY(y), mapX(x + w), mapY(y + h));
}

int vWinDC::textHeight(int& ascent, int& descent) {
    ascent = 5;
    descent = 3;
    Drawing drawing(*this);
    if (drawing) {
        FontIn selected(*this);
        TEXTMETRICA metrics;
        if (GetTextMetricsA(hdc, &metrics)) {
            ascent = metrics.tmAscent;
            descent = metrics.tmDescent;
        }
    }
    return ascent + descent;
}

int vWinDC::textWidth(const char* text) {
    if (!text) return 0;
    Drawing drawing(*this);
    if (!drawing) return 0;
    FontIn selected(*this);
    SIZE extent = {};
    std::wstring wide = wideText(text);
    GetTextExtentPoint32W(hdc, wide.c_str(), int(wide.size()), &extent);
    return extent.cx;
}
