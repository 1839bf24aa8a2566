// The program's main window: menu, command bar, face view and status bar.
#pragma once

#include "framework/app/vCmdWindow.h"

class vMenuPane;
class vCommandPane;
class FaceCanvasPane;

class FaceCmdWindow : public vCmdWindow {
  public:
    FaceCmdWindow(const char* name, int width, int height);
    ~FaceCmdWindow() override;

    // Reads (mode 0) or writes (mode 1) the settings file. The window only
    // owns the notices; there is no settings file yet, so it does nothing.
    virtual int loadSettings(vWindow* owner, int mode);

    // Typed views of the panes this window made and deletes; the base keeps
    // its own untyped pointers to the menu and the canvas.
    vMenuPane* menuPane = nullptr;
    FaceCanvasPane* canvasPane = nullptr;
    vCommandPane* commandPane = nullptr;
    vCommandPane* statusPane = nullptr;
};
