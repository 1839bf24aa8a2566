// The program's main window: its whole client area is the face view.
#pragma once

#include "face/FaceCanvasPane.h"
#include "framework/app/vCmdWindow.h"

class FaceCmdWindow : public vCmdWindow {
  public:
    FaceCmdWindow(const char* name, int width, int height);

    FaceCanvasPane canvas;
};
