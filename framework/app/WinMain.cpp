// The platform's entry point: registers the program's start hook and runs
// the framework's entry.
#include "framework/app/vApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR commandLine, int showState) {
    setStartHook(appMain);
    return appStart(instance, prevInstance, commandLine, showState);
}
