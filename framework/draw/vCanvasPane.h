// The drawing surface of a window: turns its mouse, paint, size, focus and
// scroll-bar messages into events and offers its context's drawing operations.
#pragma once

#include "framework/app/vPane.h"

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
    virtual void onMouseDown(int, int, int) {}
    virtual void onMouseUp(int, int, int) {}
    virtual void onMouseDrag(int, int, int) {}
    virtual void onMouseMove(int, int) {}
    virtual void onEnterFocus() {}
    virtual void onLeaveFocus() {}
    virtual void onRedraw(int, int, int, int) {}
    virtual void onResize(int, int) {}
    virtual int getWidth() { return width; }
    virtual int getHeight() { return height; }
    virtual void enterFocus();
    virtual void leaveFocus();

    // Called by the window's message handling.
    void paintEvent();
    void sizeEvent(int newWidth, int newHeight);
    void hScrollEvent(int code, int thumb);
    void vScrollEvent(int code, int thumb);
    void setWidthHeight(int newWidth, int newHeight);

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
    void stepBar(Bar bar, int direction, bool vertical);
    void showBar(Bar bar, int on);
    void scrollEvent(Bar bar, int code, int thumb, bool vertical);
};
