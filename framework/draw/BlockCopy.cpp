#include "framework/draw/BlockCopy.h"

namespace {

// One axis of the copy; `destSize` 0 leaves the clipping to the platform.
void clipAxis(int& src, int& size, int dest, int sourceSize, int destSize) {
    if (src < 0) src = 0;
    if (size <= 0) size = sourceSize;
    if (destSize <= 0) return;
    if (src + size > sourceSize) size = sourceSize - src;
    if (dest + size > destSize) size = destSize - dest;
}

} // namespace

bool clipBlockCopy(BlockCopy& copy, int sourceWidth, int sourceHeight, int destWidth,
                   int destHeight) {
    clipAxis(copy.srcX, copy.width, copy.destX, sourceWidth, destWidth);
    clipAxis(copy.srcY, copy.height, copy.destY, sourceHeight, destHeight);
    return copy.width > 0 && copy.height > 0;
}
