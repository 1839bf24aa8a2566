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

FramePool::FramePool(const std::vector<int>& frames, int cores, int forced)
    : frames_(frames), processes_(forced > 0 ? forced : std::max(1, cores)),
      cap_(forced > 0 ? forced : cap(cores)), fixed_(forced > 0) {
    if (fixed_) shares_ = shareFrames(frames, forced);
    std::reverse(shares_.begin(), shares_.end());
}

std::vector<FrameRange> FramePool::take() {
    std::vector<FrameRange> runs;
    if (fixed_ && !shares_.empty()) {
        runs = shares_.back();
        shares_.pop_back();
        for (const FrameRange& run : runs)
            next_ += std::size_t(run.count());
        return runs;
    }
    // A share as if every process the cap allows ran: the first processes
    // leave frames for those added later, and the last shares are single
    // frames, so that all end together.
    std::size_t share = (frames_.size() - next_ + std::size_t(cap_) - 1) / std::size_t(cap_);
    for (std::size_t end = next_ + share; next_ < end; ++next_) {
        int frame = frames_[next_];
        if (runs.empty() || frame != runs.back().last + 1)
            runs.push_back({frame, frame});
        else
            runs.back().last = frame;
    }
    return runs;
}

void FramePool::idle(double share) {
    if (fixed_ || share <= idleNoise) return;
    // Our processes filled the rest of the machine: as many more as fill the
    // idle share too, at most twice as many at a time (POV-Ray's start is
    // mostly waiting as well, which would look like room for many more).
    int wanted = int(std::ceil(processes_ / (1 - std::min(share, 0.5))));
    processes_ = std::min(cap_, std::max(processes_ + 1, wanted));
}
