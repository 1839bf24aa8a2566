// The mouth keys of an animation from the lip-sync's 10 ms steps, timed so
// that a viewer reads them as speech. Needs no platform.
#pragma once

#include "sound/MouthShape.h"

#include <vector>

// Keys at `fps` for the frames the steps last: one where the shape changes
// (the first at frame 0); each frame shows the shape of most of its steps,
// and a closure however short shows in the frame at its middle; every other
// shape holds for two frames or more; the mouth closes in the frame before
// a burst and stays closed until the burst shows.
std::vector<MouthKey> mouthKeys(const std::vector<MouthStep>& steps, int fps);
