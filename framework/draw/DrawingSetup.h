// What the drawing layer takes from the application, handed over once at
// start-up, so that contexts never need to know the application.
#pragma once

#include "framework/draw/vFont.h"

#include <windows.h>

struct DrawingSetup {
    vFont font;          // every new context starts with it
    int memoryWidth = 0; // the size of a memory context made with size 0
    int memoryHeight = 0;
    HWND frameWindow = nullptr; // memory contexts are made compatible with its context
};

// The one record, filled by the application's initialisation.
DrawingSetup& drawingSetup();
