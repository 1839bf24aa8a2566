// A command bar or status bar of a window: a row of commands in a child
// dialog window, laid out by the frame.
#pragma once

#include "framework/app/vPane.h"
#include "framework/dialogs/vCmdParent.h"

#include <windows.h>

class vCommandPane : public vPane, public vCmdParent {
  public:
    // `paneKind`: 3 command bar, 6 status bar.
    explicit vCommandPane(int paneKind);
    ~vCommandPane() override;

    void showPane(int on) override;
    // A command's report goes to the window that owns the bar.
    void processCommand(int id, int value, int kind) override;

    int shown = 1;       // takes part in the frame's layout
    int initialised = 0; // its window is initialised and its owner active
};

// Offers a queued message to the keyboard handling of every bar window;
// non-zero when one of them took it.
int filterPaneMessage(MSG* message);
