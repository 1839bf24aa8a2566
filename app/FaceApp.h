// The TavokFace application: one main window in a single-window frame.
#pragma once

#include "framework/app/vApp.h"

class FaceCmdWindow;

class FaceApp : public vApp {
  public:
    FaceApp(const char* name, int singleWindow, int width, int height);
    ~FaceApp() override;

    void appCommand(vWindow* window, int id, int value, int kind) override;
    // Writes the settings file before the window closes.
    int closeAppWindow(vWindow* window) override;
    void exitApp() override;
    void onAppKey(vWindow* window, int key, int shift) override;
    // Makes a FaceCmdWindow when given none; an empty name is "TavokFace".
    vWindow* newAppWindow(vWindow* window, const char* name, int width, int height,
                          vAppWinInfo* info) override;

    // Not owned: the framework deletes its windows at shutdown.
    FaceCmdWindow* mainWindow = nullptr;
};
