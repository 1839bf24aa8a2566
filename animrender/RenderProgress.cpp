#include "animrender/RenderProgress.h"

#include <cmath>
#include <cstdio>

double RenderProgress::secondsLeft(double now) const {
    if (done_ <= 0) return -1;
    return elapsed(now) / done_ * (total_ - done_);
}

std::string RenderProgress::frameText() const {
    return "Frame " + std::to_string(done_) + " of " + std::to_string(total_);
}

std::string RenderProgress::timeText(double now) const {
    double left = secondsLeft(now);
    return clockText(elapsed(now)) + " elapsed, " + (left < 0 ? "..." : clockText(left)) + " left";
}

std::string clockText(double seconds) {
    long long whole = seconds > 0 ? (long long)std::ceil(seconds) : 0;
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}
