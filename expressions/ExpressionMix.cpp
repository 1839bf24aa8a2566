#include "expressions/ExpressionMix.h"

#include <algorithm>

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

} // namespace

void mixPose(const float* from, const float* to, double fraction, float* out) {
    for (int i = 0; i < PoseCount; ++i) {
        if (fraction <= 0) {
            out[i] = from[i];
        } else if (fraction >= 1) {
            out[i] = to[i];
        } else if (i == PoseEyeZ) {
            out[i] = float(mixTurn(from[i], to[i], fraction));
        } else {
            double a = from[i], b = to[i];
            // Rounding must not carry the value past either end.
            double value = std::clamp(a + (b - a) * fraction, std::min(a, b), std::max(a, b));
            out[i] =
                float(std::clamp(value, double(poseLimits[i].low), double(poseLimits[i].high)));
        }
    }
}
