// The drawing surface of a window: turns its mouse, paint, size, focus and
// scroll-bar messages into events and offers its context's drawing operations.
#pragma once

#include "framework/app/vPane.h"
#include "framework/draw/vCanvasPaneDC.h"

#include <windows.h>

class vCanvasPane : public vPane {
  public:
    explicit vCanvasPane(int kind = 0);
    ~vCanvasPane() override;

    void initialize(vWindow* owner, void* nativeHandle) override;
    int getPaneValue(int, int& value) override {
        value = 0;
        return 0;
    }
    void showPane(int on) override;

    virtual void onHScroll(int shown, int pos) { setHScroll(shown, pos); }
    virtual void onVScroll(int shown, int pos) { setVScroll(shown, pos); }
    virtual void hScrollStep(int direction);
    virtual void vScrollStep(int direction);
    virtual void setHScroll(int shown, int pos);
    virtual void setVScroll(int shown, int pos);
    virtual int getVScroll(int& shown, int& pos);
    virtual int getHScroll(int& shown, int& pos);
    virtual void showHScroll(int on);
    virtual void showVScroll(int on);
    // Called by the context's setFont.
    virtual void onFontChanged(const vFont&) {}
    virtual void onMouseDown(int, int, int) {}
    virtual void onMouseUp(int, int, int) {}
    virtual void onMouseDrag(int, int, int) {}
    virtual void onMouseMove(int, int) {}
    // Another window took the pointer capture (a switch of program, a notice).
    virtual void onCaptureLost() {}
    virtual void onEnterFocus() {}
    virtual void onLeaveFocus() {}
    virtual void onRedraw(int, int, int, int) {}
    virtual void onResize(int, int) {}
    virtual int getWidth() { return width; }
    virtual int getHeight() { return height; }

    // The context's drawing operations, in the pane's coordinates.
    virtual void clearRect(int x, int y, int w, int h) { dc->clearRect(x, y, w, h); }
    virtual void copyFromMemoryDC(vMemoryDC* source, int destX, int destY, int srcX, int srcY,
                                  int w, int h) {
        dc->copyFromMemoryDC(source, destX, destY, srcX, srcY, w, h);
    }
    virtual void drawAttrText(int x, int y, const char* text, int attributes) {
        dc->drawAttrText(x, y, text, attributes);
    }
    virtual void drawText(int x, int y, const char* text) { dc->drawText(x, y, text); }
    virtual void drawEllipse(int x, int y, int w, int h) { dc->drawEllipse(x, y, w, h); }
    virtual void drawIcon(int x, int y, vIcon& icon) { dc->drawIcon(x, y, icon); }
    virtual void drawLine(int x1, int y1, int x2, int y2) { dc->drawLine(x1, y1, x2, y2); }
    virtual void drawLines(const int* segments, int count) { dc->drawLines(segments, count); }
    virtual void drawPolyline(const int* points, int count) { dc->drawPolyline(points, count); }
    virtual void drawColorPoints(int x, int y, int count, const vColor* colors) {
        dc->drawColorPoints(x, y, count, colors);
    }
    virtual void drawPoint(int x, int y) { dc->drawPoint(x, y); }
    virtual void drawPoints(const int* points, int count) { dc->drawPoints(points, count); }
    virtual void drawPolygon(int count, const int* points, int fillRule) {
        dc->drawPolygon(count, points, fillRule);
    }
    virtual void drawRectangle(int x, int y, int w, int h) { dc->drawRectangle(x, y, w, h); }
    virtual void drawRectangles(const int* rects, int count) { dc->drawRectangles(rects, count); }
    virtual void drawRoundedRectangle(int x, int y, int w, int h, int radius) {
        dc->drawRoundedRectangle(x, y, w, h, radius);
    }
    virtual void drawRubberLine(int x1, int y1, int x2, int y2) {
        dc->drawRubberLine(x1, y1, x2, y2);
    }
    virtual void drawRubberEllipse(int x, int y, int w, int h) {
        dc->drawRubberEllipse(x, y, w, h);
    }
    virtual void drawRubberRectangle(int x, int y, int w, int h) {
        dc->drawRubberRectangle(x, y, w, h);
    }
    virtual vBrush getBrush() { return dc->getBrush(); }
    virtual void setBrush(const vBrush& brush) { dc->setBrush(brush); }
    virtual vFont getFont() { return dc->getFont(); }
    virtual void setFont(const vFont& font) { dc->setFont(font); }
    virtual int textWidth(const char* text) { return dc->textWidth(text); }
    virtual int textHeight(int& ascent, int& descent) { return dc->textHeight(ascent, descent); }
    virtual void setScale(int mult, int div) { dc->setScale(mult, div); }
    virtual int getScale(int& mult, int& div) { return dc->getScale(mult, div); }
    virtual void setBackground(const vColor& color) { dc->setBackground(color); }
    virtual void setPen(const vPen& pen) { dc->setPen(pen); }

    virtual void enterFocus();
    virtual void leaveFocus();
    virtual void createDC();

    // Called by the window's message handling.
    void paintEvent();
    void sizeEvent(int newWidth, int newHeight);
    void hScrollEvent(int code, int thumb);
    void vScrollEvent(int code, int thumb);
    void setWidthHeight(int newWidth, int newHeight);

    vCanvasPaneDC* dc = nullptr;
    int height = 0;
    int width = 0;
    HWND hwnd = nullptr;
    int hasFocus = 0;
    int hScrollShown = 0;
    int vScrollShown = 0;
    int hShown = 100;
    int hPos = 0;
    int vShown = 100;
    int vPos = 0;

    // The cursor kind every canvas shows; set to the arrow by each construction.
    static int cursorCode;

  private:
    // One scroll bar's state and hooks, so both bars share one implementation.
    struct Bar {
        int& shown;
        int& pos;
        int& barShown;
        int platformBar;
    };
    Bar horizontal() { return {hShown, hPos, hScrollShown, SB_HORZ}; }
    Bar vertical() { return {vShown, vPos, vScrollShown, SB_VERT}; }
    void setBar(Bar bar, int shown, int pos);
    void applyBar(Bar bar);
    void stepBar(Bar bar, int direction, bool vertical);
    void showBar(Bar bar, int on);
    void scrollEvent(Bar bar, int code, int thumb, bool vertical);
};
