// A command bar or status bar of a window: a row of commands in a child
// dialog window, laid out by the frame.
#pragma once

#include "framework/app/vBar.h"
#include "framework/app/vPane.h"
#include "framework/dialogs/vCmdParent.h"

#include <windows.h>

class vCommandPane : public vPane, public vCmdParent, public vBar {
  public:
    // `paneKind`: PaneCommandBar or PaneStatusBar.
    explicit vCommandPane(int paneKind);
    ~vCommandPane() override;

    void showPane(int on) override;
    // A command's report goes to the window that owns the bar.
    void processCommand(int id, int value, int kind) override;

    int inLayout() override;
    int atBottom() override { return containerKind == PaneStatusBar; }
    int barHeight() override { return paneHeight; }
    HWND barWindow() override { return windowHandle; }
    void placed(int edge) override { paneEdge = edge; }
    void showFor(vWindow* active) override;

    int shown = 1;       // takes part in the frame's layout
    int initialised = 0; // its window is initialised and its owner active
};
