#include "framework/draw/vDC.h"

#include "framework/draw/DrawingSetup.h"

vDC::vDC() : font(drawingSetup().font) {}

void vDC::setScale(int mult, int div) {
    // A divisor of 0 would fault in every later drawing; such a scale is refused.
    if (div == 0) return;
    scaleMult = mult;
    scaleDiv = div;
    scaled = !(mult == 1 && div == 1);
}

int vDC::getScale(int& mult, int& div) {
    mult = scaleMult;
    div = scaleDiv;
    return div;
}

int vDC::scale(int v) {
    return scaled ? v * scaleMult / scaleDiv : v;
}
