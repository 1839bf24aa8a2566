#include "sound/MouthShape.h"

const char* mouthShapeName(MouthShape shape) {
    static const char* const names[MouthShapeCount] = {
        "rest", "closed", "clenched", "open", "wide", "rounded", "puckered", "teeth", "tongue"};
    return names[int(shape)];
}
