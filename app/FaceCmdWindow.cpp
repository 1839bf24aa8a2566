#include "app/FaceCmdWindow.h"

FaceCmdWindow::FaceCmdWindow(const char* name, int width, int height)
    : vCmdWindow(name, width, height) {}
