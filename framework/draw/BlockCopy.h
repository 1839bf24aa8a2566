// The arithmetic of copying a block from a memory context into another
// context.
#pragma once

struct BlockCopy {
    int destX;
    int destY;
    int srcX;
    int srcY;
    int width;
    int height;
};

// Fits a requested copy to the source and, when its size is known (above 0),
// to the destination: negative source corners become 0, a size of 0 or less
// means the whole source. Returns false when nothing is left to copy.
bool clipBlockCopy(BlockCopy& copy, int sourceWidth, int sourceHeight, int destWidth,
                   int destHeight);
