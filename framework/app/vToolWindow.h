// A small top-level window of its own beside the frame (a preview, a
// palette): owned by the frame, shown without taking the keyboard from the
// window being edited, painted through a drawing context.
#pragma once

#include "framework/app/vBaseWindow.h"

class vWinDC;
struct WindowMessage;
struct Handled;

class vToolWindow : public vBaseWindow {
  public:
    // Created hidden, with a client area of `width` by `height`.
    vToolWindow(const char* name, int width, int height);
    ~vToolWindow() override;

    // Shows the window beside the frame, leaving the keyboard where it is.
    void show();
    // Puts the window on the frame's monitor, within its work area: right of
    // the frame, else left of it, else below it, else over the frame's right
    // edge but clear of areaToKeepClear. A window that keeps clear of more
    // places itself.
    virtual void place();
    // The frame moved or changed size: shown tool windows follow it.
    static void followFrame();
    void hide();
    bool isShown() const;
    // Asks for onRedraw soon.
    void redraw();
    void setTitle(const char* text);

    // Paints the whole client area.
    virtual void onRedraw(vWinDC& dc) = 0;
    // The close box; hides the window unless overridden.
    virtual void onClose() { hide(); }
    // A left click at client coordinates.
    virtual void onMouseDown(int, int) {}
    // A vertical scroll bar's (scroll code, thumb position), and the wheel.
    virtual void onScroll(int, int) {}
    virtual void onWheel(int) {}
    // What the window must never cover (screen pixels), if anything.
    virtual bool areaToKeepClear(RECT&) { return false; }

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    Handled handleMessage(const WindowMessage& message);

    const int width;
    const int height;

  private:
    Handled handlePaint();
    Handled handleClose();
    Handled handleMouseDown(const WindowMessage& message);
    Handled handleScroll(const WindowMessage& message);
    Handled handleWheel(const WindowMessage& message);
};
