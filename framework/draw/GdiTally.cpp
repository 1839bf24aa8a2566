#include "framework/draw/GdiTally.h"

int GdiTally::live = 0;

void GdiTally::deleteObject(HGDIOBJ object) {
    if (object && DeleteObject(object)) --live;
}
