#include "sound/MouthKeys.h"

#include <algorithm>

namespace {

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

bool speaking(MouthShape shape) {
    return shape != MouthShape::Rest && shape != MouthShape::Closed;
}

} // namespace

std::vector<MouthKey> mouthKeys(const std::vector<MouthStep>& steps, int fps) {
    // Frames at the step's frame rate of 100 per second, counted in whole.
    std::size_t frames = (steps.size() * std::size_t(fps) + 99) / 100;
    std::vector<MouthShape> shapes(frames);
    for (std::size_t frame = 0; frame < frames; ++frame)
        shapes[frame] = mostOf(steps, int(frame), fps);
    // Closures that must show; the frames a closure covers besides them may
    // go to a short shape beside it.
    std::vector<bool> fixed(frames, false);
    auto close = [&](std::size_t frame) {
        shapes[frame] = MouthShape::Closed;
        fixed[frame] = true;
    };
    for (std::size_t start = 0; start < steps.size();) {
        std::size_t end = start + 1;
        while (end < steps.size() && steps[end].shape == steps[start].shape)
            ++end;
        if (steps[start].shape == MouthShape::Closed) close((start + end) * std::size_t(fps) / 200);
        start = end;
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        std::size_t burst = i * std::size_t(fps) / 100;
        if (!steps[i].burst || burst == 0) continue;
        close(burst - 1);
        if (shapes[burst] == MouthShape::Rest) close(burst);
    }
    auto spare = [&](std::size_t frame) {
        return frame < frames && shapes[frame] == MouthShape::Closed && !fixed[frame];
    };
    for (std::size_t start = 0; start < frames && frames >= 2;) {
        std::size_t end = start + 1;
        while (end < frames && shapes[end] == shapes[start])
            ++end;
        MouthShape before = start > 0 ? shapes[start - 1] : MouthShape::Closed;
        MouthShape after = end < frames ? shapes[end] : MouthShape::Closed;
        MouthShape shape = shapes[start];
        // A one-frame shape joins a speaking neighbour, the one before if
        // both speak; between rest and closures a speaking one takes a frame
        // from a closure that can spare it; otherwise it rests.
        if (shape == MouthShape::Closed || end - start >= 2) {
            start = end;
            continue;
        } else if (speaking(before) || speaking(after)) {
            shape = speaking(before) ? before : after;
        } else if (speaking(shape) && spare(start - 1)) {
            shapes[--start] = shape;
            continue;
        } else if (speaking(shape) && spare(end)) {
            shapes[end] = shape;
            continue;
        } else {
            shape = before == MouthShape::Rest || after != MouthShape::Rest ? before : after;
            if (start == 0) shape = after;
            if (end == frames) shape = before;
        }
        shapes[start] = shape;
        // Look again from the start of the run this one joined.
        while (start > 0 && shapes[start - 1] == shape)
            --start;
    }
    std::vector<MouthKey> keys;
    for (std::size_t frame = 0; frame < frames; ++frame)
        if (frame == 0 || shapes[frame] != shapes[frame - 1])
            keys.push_back({int(frame), shapes[frame]});
    return keys;
}
