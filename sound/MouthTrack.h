// The lip-sync's keys as an animation's mouth track. Needs no platform.
#pragma once

#include "animation/Animation.h"
#include "sound/MouthShape.h"
#include "sound/MouthShapeSet.h"

#include <string>
#include <vector>

// Replaces the mouth track of `animation` with a key for each of `keys`,
// `start` frames later, holding its shape's mouth; the eyes and lids stay.
// Keys past the last frame are left out: how many were.
int setMouthTrack(Animation& animation, const std::vector<MouthKey>& keys,
                  const MouthShapeSet& shapes, int start);

// What a user is told when `left` keys fell past the animation's last frame:
// how many, and how much of the `seconds` long sound starting at frame
// `start` lies beyond it.
std::string keysLeftOutText(int left, const Animation& animation, double seconds, int start);
