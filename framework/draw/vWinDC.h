// The drawing operations on a native device context. Each operation brackets
// its work with beginDraw and endDraw, which the concrete contexts define.
#pragma once

#include "framework/draw/vDC.h"

#include <string>
#include <vector>
#include <windows.h>

class vWinDC : public vDC {
  public:
    vWinDC();

    void clear() override {}
    void clearRect(int, int, int, int) override {}
    void copyFromMemoryDC(vMemoryDC* source, int destX, int destY, int srcX, int srcY, int w,
                          int h) override;
    void drawAttrText(int x, int y, const char* text, int attributes) override;
    void drawText(int x, int y, const char* text) override;
    // Text beyond the ANSI code page, as drawText places it.
    void drawWideText(int x, int y, const std::wstring& text);
    void drawEllipse(int x, int y, int w, int h) override;
    void drawIcon(int x, int y, vIcon& icon) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    void drawLines(const int* segments, int count) override;
    void drawPolyline(const int* points, int count) override;
    void drawColorPoints(int x, int y, int count, const vColor* colors) override;
    void drawPoint(int x, int y) override;
    // A picture of w by h pixels, three bytes (red, green, blue) each, rows
    // from the top; its corner (x, y) is placed as any point, its size is
    // not scaled.
    void drawImage(int x, int y, int w, int h, const std::uint8_t* rgb);
    void drawPoints(const int* points, int count) override;
    void drawPolygon(int count, const int* points, int fillRule) override;
    void drawRoundedRectangle(int x, int y, int w, int h, int radius) override;
    void drawRectangle(int x, int y, int w, int h) override;
    void drawRectangles(const int* rects, int count) override;
    void drawRubberLine(int x1, int y1, int x2, int y2) override;
    void drawRubberEllipse(int x, int y, int w, int h) override;
    void drawRubberPoint(int x, int y) override;
    void drawRubberRectangle(int x, int y, int w, int h) override;
    int textHeight(int& ascent, int& descent) override;
    int textWidth(const char* text) override;

    // Obtain and release `hdc` around one operation; here they do nothing.
    virtual void beginDraw() {}
    virtual void beginPaintEvent() {}
    virtual void endPaintEvent() {}
    virtual void endDraw() {}

    uint32_t background = 0xFFFFFF;
    int deviceFlag = 0; // above 0 for a printer
    HDC hdc = nullptr;
    HDC paintHdc = nullptr;
    PAINTSTRUCT paintRecord = {};
    HPEN currentPen;
    HBRUSH currentBrush;

  protected:
    // Fills a rectangle of the surface with `background`, unscaled.
    void fillBackground(int x, int y, int w, int h);
    int mapX(int v) { return scale(v + translateX); }
    int mapY(int v) { return scale(v + translateY); }

  private:
    // Native objects the context itself draws with, kept between operations.
    vBrush backgroundBrush;
    vBrush iconBrush;
    vPen rubberPen;

    class Drawing;
    class Tools;
    class FontIn;
    class Rubber;
    void rectangle(int x, int y, int w, int h);
    void pointLine(int x, int y);
    std::vector<POINT> mapPoints(const int* points, int count);
    void outputText(int x, int y, const std::wstring& text, uint32_t textColor, uint32_t backColor);
    uint32_t ownTextColor() const { return font.textColor ? font.textColor : pen.color.packed; }
    int cellHeight();
};
