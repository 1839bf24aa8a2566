// Stacking of command and status bars in the frame. Needs no platform.
#pragma once

struct BarSlot {
    int statusBar; // placed at the bottom when non-zero
    int height;
    int top;  // out: the bar's top edge
    int edge; // out: for a status bar its top, for other bars their bottom
};

// Places `count` bars in order (the newest first): status bars upward from
// `bottom`, other bars downward from 0. Returns the client area between them
// through `top` and `bottom`.
void stackBars(BarSlot* bars, int count, int& top, int& bottom);
