// A drawing context: the operations every surface offers and the state they
// share (scale, offset, size, current pen, brush and font).
#pragma once

#include "framework/draw/vBrush.h"
#include "framework/draw/vFont.h"
#include "framework/draw/vPen.h"

class vIcon;
class vMemoryDC;

class vDC {
  public:
    vDC();
    virtual ~vDC() = default;
    vDC(const vDC&) = delete;
    vDC& operator=(const vDC&) = delete;

    // Fills the whole surface with the background colour.
    virtual void clear() = 0;
    // Fills a rectangle with the background colour, without offset or scale.
    virtual void clearRect(int x, int y, int w, int h) = 0;
    // Copies a block of `source` here; a size of 0 copies the whole source.
    virtual void copyFromMemoryDC(vMemoryDC*, int, int, int, int, int, int) {}
    // Text with display attributes: low four bits flags, high four a colour code.
    virtual void drawAttrText(int x, int y, const char* text, int attributes) = 0;
    // (x, y) is the lower-left corner of the text cell. Texts are UTF-8.
    virtual void drawText(int x, int y, const char* text) = 0;
    virtual void drawEllipse(int x, int y, int w, int h) = 0;
    virtual void drawIcon(int, int, vIcon&) {}
    virtual void drawLine(int x1, int y1, int x2, int y2) = 0;
    // `segments` holds count groups of x1, y1, x2, y2.
    virtual void drawLines(const int* segments, int count) = 0;
    // `points` holds count pairs of x, y.
    virtual void drawPolyline(const int* points, int count) = 0;
    // Pixel i of the run on row y takes colors[i].
    virtual void drawColorPoints(int, int, int, const vColor*) {}
    virtual void drawPoint(int x, int y) = 0;
    virtual void drawPoints(const int* points, int count) = 0;
    // The outline through the first count - 1 points, closed by the platform;
    // FillAlternate fills alternately, any other code by winding.
    virtual void drawPolygon(int count, const int* points, int fillRule) = 0;
    // A negative radius -k makes corners of (w + h) / 2k.
    virtual void drawRoundedRectangle(int x, int y, int w, int h, int radius) = 0;
    virtual void drawRectangle(int x, int y, int w, int h) = 0;
    // `rects` holds count groups of x, y, w, h.
    virtual void drawRectangles(const int* rects, int count) = 0;
    // The rubber shapes invert what they cover, so drawing twice erases them.
    virtual void drawRubberLine(int, int, int, int) {}
    virtual void drawRubberEllipse(int, int, int, int) {}
    virtual void drawRubberPoint(int, int) {}
    virtual void drawRubberRectangle(int, int, int, int) {}
    virtual int getHeight() { return height; }
    virtual int getWidth() { return width; }
    virtual void setBackground(const vColor&) {}
    virtual void setScale(int mult, int div);
    virtual int getScale(int& mult, int& div);
    virtual void setFont(const vFont&) {}
    virtual vFont getFont() { return font; }
    virtual void setPen(const vPen& value) { pen = value; }
    virtual vPen getPen() { return pen; }
    virtual void setBrush(const vBrush& value) { brush = value; }
    virtual vBrush getBrush() { return brush; }
    // Stores the font's ascent and descent, returns their sum.
    virtual int textHeight(int& ascent, int& descent) {
        ascent = descent = 0;
        return 0;
    }
    virtual int textWidth(const char*) { return 0; }
    virtual int scale(int v);

    int scaleMult = 1;
    int scaleDiv = 1;
    int translateX = 0;
    int translateY = 0;
    int scaled = 0;
    int height = 0;
    int width = 0;
    vBrush brush;
    vFont font;
    vPen pen;
};
