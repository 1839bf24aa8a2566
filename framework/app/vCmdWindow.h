// The window programs derive their main windows from; closing the last one
// ends the program.
#pragma once

#include "framework/app/vWindow.h"

class vCmdWindow : public vWindow {
  public:
    vCmdWindow(const char* name, int width = 0, int height = 0);
    ~vCmdWindow() override;

    void closeWindow() override;

    vCmdWindow* nextCmdWindow = nullptr;

  private:
    // True when the window was still in cmdWindowList.
    bool unlinkCommandWindow();
};

extern vCmdWindow* cmdWindowList;
extern int cmdWindowCount;
