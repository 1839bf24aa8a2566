#include "framework/draw/GdiTally.h"

int GdiTally::live = 0;

void GdiTally::deleteObject(HGDIOBJ object) {
    if (object && DeleteObject(object)) --live;
}

void GdiTally::deleteDC(HDC device) {
    if (device && DeleteDC(device)) --live;
}
