// What the frame asks of a command or status bar to lay it out and to show
// the bars of the active window only.
#pragma once

#include <windows.h>

class vWindow;

class vBar {
  public:
    virtual ~vBar() = default;

    // Non-zero when the bar is shown, belongs to the active window and its
    // native window exists and is visible.
    virtual int inLayout() = 0;
    // Status bars stack upward from the frame's bottom, other bars downward.
    virtual int atBottom() = 0;
    virtual int barHeight() = 0;
    virtual HWND barWindow() = 0;
    // The frame placed the bar: its inner edge in frame client pixels.
    virtual void placed(int edge) = 0;
    // Another window became active (or none): a bar of `active` shows, the
    // others hide.
    virtual void showFor(vWindow* active) = 0;
};
