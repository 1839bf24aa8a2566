#include "app/FaceApp.h"

#include "app/FaceCmdWindow.h"
#include "framework/app/vAppWinInfo.h"
#include "render/PovrayRunner.h"

namespace {

const char* const appName = "TavokFace";

} // namespace

FaceApp::FaceApp(const char* name, int singleWindow, int width, int height)
    : vApp(name, singleWindow, width, height) {}

FaceApp::~FaceApp() = default;

void FaceApp::appCommand(vWindow* window, int id, int value, int kind) {
    vApp::appCommand(window, id, value, kind);
}

int FaceApp::closeAppWindow(vWindow* window) {
    // Every window this application registers is a FaceCmdWindow.
    auto* faceWindow = static_cast<FaceCmdWindow*>(window);
    faceWindow->loadSettings(window, 1);
    return vApp::closeAppWindow(window);
}

void FaceApp::exitApp() {
    vApp::exitApp();
}

void FaceApp::onAppKey(vWindow* window, int key, int shift) {
    vApp::onAppKey(window, key, shift);
}

vWindow* FaceApp::newAppWindow(vWindow* window, const char* name, int width, int height,
                               vAppWinInfo* info) {
    if (!name || !*name) name = appName;
    mainWindow = static_cast<FaceCmdWindow*>(window);
    if (!window) mainWindow = new FaceCmdWindow(name, width, height);
    if (!info) info = new vAppWinInfo(name, 0);
    return vApp::newAppWindow(mainWindow, name, width, height, info);
}

int appMain(int, char**) {
    // What a killed run left goes at once, not at the first render.
    PovrayRunner::removeStaleFolders();
    vWindow* window = theApp->newAppWindow(nullptr, appName, 350, 350, nullptr);
    static_cast<FaceCmdWindow*>(window)->loadSettings(window, 0);
    return 0;
}
