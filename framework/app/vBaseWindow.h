// A named item with a native window.
#pragma once

#include "framework/app/vBaseItem.h"

#include <windows.h>

class vBaseWindow : public vBaseItem {
  public:
    vBaseWindow(const char* name, int windowKind) : vBaseItem(name), windowKind(windowKind) {}

    virtual void createWindow() {}
    virtual void showWindow() {}

    HWND nativeWindow = nullptr;
    int windowKind; // 1 for windows made through vCmdWindow, 2 for dialogs
};
