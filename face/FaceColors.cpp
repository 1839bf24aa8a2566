#include "face/FaceColors.h"

const vColor colorWhite(255, 255, 255);
const vColor colorBlack(0, 0, 0);
const vColor colorBlue(64, 64, 255);
const vColor colorPaleBlue(200, 200, 230);
const vColor colorRed(255, 64, 64);
const vColor colorDustyPink(200, 164, 164);
const vColor colorDullYellow(200, 200, 64);
