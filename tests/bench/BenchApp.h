// The main window of the real application for the benchmarks that time it:
// started as the program starts it, with its first messages handled.
#pragma once

#include "app/FaceApp.h"
#include "app/FaceCmdWindow.h"

#include <windows.h>

inline void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The benchmark defines the one FaceApp object before calling this.
inline FaceCmdWindow* openMainWindow(const char* name) {
    char program[32];
    lstrcpynA(program, name, sizeof program);
    char* args[] = {program, nullptr};
    int count = 1;
    theApp->initApp(count, args, GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL);
    auto* window =
        static_cast<FaceCmdWindow*>(theApp->newAppWindow(nullptr, "TavokFace", 350, 350, nullptr));
    for (int i = 0; i < 20; ++i) {
        Sleep(10);
        pumpMessages();
    }
    return window;
}
