#include "sound/MouthKeys.h"

#include <algorithm>

namespace {

using Shapes = std::vector<MouthShape>;

bool speaking(MouthShape shape) {
    return shape != MouthShape::Rest && shape != MouthShape::Closed;
}

// The shape covering most of frame `frame`: times are counted in units of
// 1 / (100 * fps) s, a step lasting fps of them and a frame 100.
MouthShape mostOf(const std::vector<MouthStep>& steps, int frame, int fps) {
    long long from = frame * 100LL, to = from + 100;
    long long shares[MouthShapeCount] = {};
    long long count = (long long)steps.size();
    for (long long i = from / fps; i < count && i * fps < to; ++i) {
        long long overlap = std::min(to, (i + 1) * fps) - std::max(from, i * fps);
        shares[int(steps[std::size_t(i)].shape)] += overlap;
    }
    int best = 0;
    for (int shape = 1; shape < MouthShapeCount; ++shape)
        if (shares[shape] > shares[best]) best = shape;
    return MouthShape(best);
}

// Closes the frames that must show a closure: the middle of each closure
// of the steps, and the frame before a burst (and the burst's own if it
// would rest, or is the first). Marks them in `fixed`.
void closeWhereNeeded(const std::vector<MouthStep>& steps, int fps, Shapes& shapes,
                      std::vector<bool>& fixed) {
    auto close = [&](std::size_t frame) {
        shapes[frame] = MouthShape::Closed;
        fixed[frame] = true;
    };
    for (std::size_t start = 0, end; start < steps.size(); start = end) {
        for (end = start + 1; end < steps.size() && steps[end].shape == steps[start].shape;)
            ++end;
        if (steps[start].shape == MouthShape::Closed) close((start + end) * std::size_t(fps) / 200);
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        std::size_t burst = i * std::size_t(fps) / 100;
        if (!steps[i].burst) continue;
        // A sound starting with the burst has no frame before it to close.
        if (burst > 0) close(burst - 1);
        if (burst == 0 || shapes[burst] == MouthShape::Rest) close(burst);
    }
}

// Gives every shape but a closure two frames or more: a one-frame shape
// joins a speaking neighbour, the one before if both speak; between rest
// and closures a speaking one takes a frame from a closure that can spare
// it; otherwise it becomes its neighbour, rest before a closure.
void holdTwoFrames(Shapes& shapes, const std::vector<bool>& fixed) {
    std::size_t frames = shapes.size();
    auto spare = [&](std::size_t frame) {
        return frame < frames && shapes[frame] == MouthShape::Closed && !fixed[frame];
    };
    for (std::size_t start = 0; start < frames && frames >= 2;) {
        std::size_t end = start + 1;
        while (end < frames && shapes[end] == shapes[start])
            ++end;
        MouthShape shape = shapes[start];
        if (shape == MouthShape::Closed || end - start >= 2) {
            start = end;
            continue;
        }
        MouthShape before = start > 0 ? shapes[start - 1] : MouthShape::Closed;
        MouthShape after = end < frames ? shapes[end] : MouthShape::Closed;
        if (speaking(shape) && !speaking(before) && !speaking(after) && spare(start - 1)) {
            shapes[--start] = shape;
            continue;
        }
        if (speaking(shape) && !speaking(before) && !speaking(after) && spare(end)) {
            shapes[end] = shape;
            continue;
        }
        if (speaking(before) || speaking(after))
            shape = speaking(before) ? before : after;
        else if (start == 0 || end == frames)
            shape = start == 0 ? after : before;
        else
            shape = before == MouthShape::Rest || after == MouthShape::Closed ? before : after;
        shapes[start] = shape;
        // Look again from the start of the run this one joined.
        while (start > 0 && shapes[start - 1] == shape)
            --start;
    }
}

} // namespace

std::vector<MouthKey> mouthKeys(const std::vector<MouthStep>& steps, int fps) {
    if (fps < 1) return {};
    // Frames at the step's frame rate of 100 per second, counted in whole.
    std::size_t frames = (steps.size() * std::size_t(fps) + 99) / 100;
    Shapes shapes(frames);
    for (std::size_t frame = 0; frame < frames; ++frame)
        shapes[frame] = mostOf(steps, int(frame), fps);
    std::vector<bool> fixed(frames, false);
    closeWhereNeeded(steps, fps, shapes, fixed);
    holdTwoFrames(shapes, fixed);
    std::vector<MouthKey> keys;
    for (std::size_t frame = 0; frame < frames; ++frame)
        if (frame == 0 || shapes[frame] != shapes[frame - 1])
            keys.push_back({int(frame), shapes[frame]});
    return keys;
}
