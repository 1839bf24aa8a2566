#include "framework/app/vCmdWindow.h"

#include "framework/app/vApp.h"

vCmdWindow* cmdWindowList = nullptr;
int cmdWindowCount = 0;

vCmdWindow::vCmdWindow(const char* name, int width, int height) : vWindow(name, width, height, 1) {
    nextCmdWindow = cmdWindowList;
    cmdWindowList = this;
    ++cmdWindowCount;
}

vCmdWindow::~vCmdWindow() {
    for (vCmdWindow* window = cmdWindowList; window; window = window->nextCmdWindow) {
        if (window == this) {
            --cmdWindowCount;
            unlinkCommandWindow();
            break;
        }
    }
}

void vCmdWindow::unlinkCommandWindow() {
    for (vCmdWindow** link = &cmdWindowList; *link; link = &(*link)->nextCmdWindow) {
        if (*link == this) {
            *link = nextCmdWindow;
            nextCmdWindow = nullptr;
            return;
        }
    }
}

void vCmdWindow::closeWindow() {
    --cmdWindowCount;
    unlinkCommandWindow();
    vWindow::closeWindow();
    if (cmdWindowList) return;
    theApp->showPanesFor(nullptr);
    DrawMenuBar(theApp->frameWindow);
    theApp->closeLastCmdWindow(this, 0);
}
