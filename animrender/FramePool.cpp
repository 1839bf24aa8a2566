#include "animrender/FramePool.h"

#include <algorithm>
#include <cmath>

namespace {

// Idle time below this is noise (another program's pauses, our own
// bookkeeping): no process more for it.
constexpr double idleNoise = 0.1;

} // namespace

int FramePool::cap(int cores) {
    return std::min(8 * std::max(1, cores), 32);
}

FramePool::FramePool(const std::vector<int>& frames, int cores, int forced, long pixels)
    : processes_(forced > 0                           ? forced
                 : pixels > 0 && pixels <= SmallFrame ? cap(cores)
                                                      : (cap(cores) + 1) / 2),
      cap_(forced > 0 ? forced : cap(cores)), fixed_(forced > 0),
      shares_(shareFrames(frames, cap_)) {
    std::reverse(shares_.begin(), shares_.end());
}

std::vector<FrameRange> FramePool::take() {
    if (shares_.empty()) return {};
    std::vector<FrameRange> runs = shares_.back();
    shares_.pop_back();
    return runs;
}

void FramePool::idle(double share) {
    if (fixed_ || share <= idleNoise) return;
    // Our processes filled the rest of the machine: as many more as fill the
    // idle share too.
    int wanted = int(std::ceil(processes_ / std::max(1 - share, 0.01)));
    processes_ = std::min(cap_, std::max(processes_ + 1, wanted));
}
