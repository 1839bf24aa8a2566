// Where the library's window goes on the screen. Needs no platform.
#pragma once

#include <vector>

struct ScreenBox {
    int left, top, right, bottom;
};

// The top-left corner (`left`, `top`) for a window of `width` by `height`:
// within `work`, over none of `clear` (the face, the preview), and as near
// the frame's top right corner as that allows. False when no place is
// clear of them all.
bool placeLibrary(const ScreenBox& frame, const std::vector<ScreenBox>& clear,
                  const ScreenBox& work, int width, int height, int& left, int& top);
