// Frames on the timeline's ruler: where each frame's tick lies and which
// frame a press picks. Needs no platform.
#pragma once

// A ruler `width` pixels wide with `margin` pixels at each end.
struct RulerScale {
    int width;
    int margin;
    int length; // frames

    int frameX(int frame) const;
    // The frame whose tick is nearest to `x`, within the frames: a press on
    // a frame's own tick picks that frame.
    int frameAt(int x) const;
};
