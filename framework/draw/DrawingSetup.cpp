#include "framework/draw/DrawingSetup.h"

DrawingSetup& drawingSetup() {
    static DrawingSetup setup;
    return setup;
}
