// A command bar or status bar of a window: a row of commands in a child
// dialog window, laid out by the frame.
#pragma once

#include "framework/app/vPane.h"

#include <windows.h>

class vCommandPane : public vPane {
  public:
    explicit vCommandPane(int paneKind);
    ~vCommandPane() override;

    void showPane(int on) override;

    int paneHeight = 0; // client height of the bar window, in pixels
    int paneEdge = 0;   // written by the frame layout
    int containerKind;  // 3 command bar, 6 status bar
    HWND windowHandle = nullptr;
    int shown = 1;       // takes part in the frame's layout
    int initialised = 0; // its window is initialised and its owner active
};

// Offers a queued message to the keyboard handling of every bar window;
// non-zero when one of them took it.
int filterPaneMessage(MSG* message);
