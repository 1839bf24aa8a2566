#include "expressions/ExpressionMix.h"

#include <algorithm>
#include <cmath>

const PoseLimit poseLimits[PoseCount] = {{-90, 90}, {-90, 90}, {-360, 360}, {0, 1},  {-90, 90},
                                         {-90, 90}, {-90, 90}, {-90, 90},   {-1, 1}, {-1, 1},
                                         {-1, 1},   {-1, 1},   {-1, 1}};

namespace {

// The z turn: 350 and -10 are the same angle, so the way from one to the
// other is at most half a turn long, and the result stays within a turn.
double mixTurn(double from, double to, double fraction) {
    double way = to - from;
    while (way > 180)
        way -= 360;
    while (way < -180)
        way += 360;
    double value = from + way * fraction;
    if (value > 360) value -= 360;
    if (value < -360) value += 360;
    return value;
}

// A value as the keys keep it: a file may hold any finite value.
double withinLimit(int i, double value) {
    const PoseLimit& limit = poseLimits[i];
    if (i == PoseEyeZ && (value < limit.low || value > limit.high)) return std::fmod(value, 360.0);
    return std::clamp(value, double(limit.low), double(limit.high));
}

} // namespace

void mixPose(const float* from, const float* to, double fraction, float* out) {
    for (int i = 0; i < PoseCount; ++i) {
        double a = withinLimit(i, from[i]), b = withinLimit(i, to[i]);
        if (fraction <= 0) {
            out[i] = float(a);
        } else if (fraction >= 1) {
            out[i] = float(b);
        } else if (i == PoseEyeZ) {
            out[i] = float(mixTurn(a, b, fraction));
        } else {
            // Rounding must not carry the value past either end.
            out[i] = float(std::clamp(a + (b - a) * fraction, std::min(a, b), std::max(a, b)));
        }
    }
}
