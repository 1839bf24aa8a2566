// The application's colours, used by the face drawing.
#pragma once

#include "framework/draw/vColor.h"

extern const vColor colorWhite;
extern const vColor colorBlack;
extern const vColor colorBlue;
extern const vColor colorPaleBlue;
extern const vColor colorRed;
extern const vColor colorDustyPink;
extern const vColor colorDullYellow;
