#include "animation/RulerScale.h"

#include <algorithm>

namespace {

int span(const RulerScale& ruler) {
    return std::max(1, ruler.width - 2 * ruler.margin);
}

} // namespace

int RulerScale::frameX(int frame) const {
    return margin + int((long long)frame * span(*this) / std::max(1, length - 1));
}

int RulerScale::frameAt(int x) const {
    // The last frame whose tick lies at or left of x, then the nearer of it
    // and the next: the ticks round down, so rounding x would not agree.
    long long steps = std::max(1, length - 1);
    long long offset = std::max(0, x - margin);
    int frame = int(std::min((offset + 1) * steps - 1, span(*this) * steps) / span(*this));
    frame = std::clamp(frame, 0, length - 1);
    if (frame + 1 < length && frameX(frame + 1) - x < x - frameX(frame)) ++frame;
    return frame;
}
