// Off-screen bitmaps that a fresh memory context takes cheaply.
#pragma once

#include <windows.h>

// A bitmap of `width` x `height` in the pixel format of `device`: a DIB
// section on true-colour devices (selecting one into a new memory context
// costs a fraction of a device-dependent bitmap), else a compatible bitmap.
// A null device stands for the screen.
HBITMAP createSurface(HDC device, int width, int height);
