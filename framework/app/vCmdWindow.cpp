#include "framework/app/vCmdWindow.h"

#include "framework/app/LinkedList.h"
#include "framework/app/vApp.h"

vCmdWindow* cmdWindowList = nullptr;
int cmdWindowCount = 0;

vCmdWindow::vCmdWindow(const char* name, int width, int height) : vWindow(name, width, height, 1) {
    nextCmdWindow = cmdWindowList;
    cmdWindowList = this;
    ++cmdWindowCount;
}

vCmdWindow::~vCmdWindow() {
    // A window closed before was unlinked and counted off then.
    if (unlinkCommandWindow()) --cmdWindowCount;
}

bool vCmdWindow::unlinkCommandWindow() {
    return unlinkFirst(cmdWindowList, &vCmdWindow::nextCmdWindow,
                       [this](vCmdWindow* window) { return window == this; }) != nullptr;
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
