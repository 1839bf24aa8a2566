// Moving a pose part of the way toward an expression. Needs no platform.
#pragma once

#include "face/PoseModel.h"

// Writes into `out` the pose `fraction` (0 to 1) of the way from `from` to
// `to`: every value by the same fraction, the eyes' z turn the short way
// round. Both ends are first brought within the pose's limits, as the keys
// keep them (z by whole turns); then 0 gives `from` and 1 gives `to`
// exactly, and values in between stay between the two ends. `out` may be
// `from`.
void mixPose(const float* from, const float* to, double fraction, float* out);

// The range a pose value is kept in: [low, high].
struct PoseLimit {
    float low;
    float high;
};
extern const PoseLimit poseLimits[PoseCount];
