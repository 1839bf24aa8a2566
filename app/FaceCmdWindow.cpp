#include "app/FaceCmdWindow.h"

#include "app/FaceTables.h"
#include "face/FaceCanvasPane.h"
#include "framework/app/vMenuPane.h"
#include "framework/dialogs/vCommandPane.h"

FaceCmdWindow::FaceCmdWindow(const char* name, int width, int height)
    : vCmdWindow(name, width, height) {
    // The order fixes the layout: bars stack in the order they are made.
    menuPane = new vMenuPane(faceMenu);
    addPane(menuPane);
    commandPane = new vCommandPane(faceCommandBar);
    addPane(commandPane);
    canvasPane = new FaceCanvasPane;
    addPane(canvasPane);
    statusPane = new vCommandPane(faceStatusBar);
    addPane(statusPane);
    showWindow();
}

FaceCmdWindow::~FaceCmdWindow() {
    delete menuPane;
    delete canvasPane;
    delete commandPane;
    delete statusPane;
}

int FaceCmdWindow::loadSettings(vWindow*, int) {
    return 1;
}
