#include "animation/AnimationTrack.h"

#include <algorithm>
#include <cstring>

const TrackKind trackKinds[TrackCount] = {
    {"Eyes", PoseEyeX, PoseLidFirst - PoseEyeX},
    {"Lids", PoseLidFirst, PoseMouthFirst - PoseLidFirst},
    {"Mouth", PoseMouthFirst, PoseCount - PoseMouthFirst},
};

int trackOfValue(int index) {
    return index < PoseLidFirst ? TrackEyes : index < PoseMouthFirst ? TrackLids : TrackMouth;
}

bool TrackKey::operator==(const TrackKey& other) const {
    return frame == other.frame && std::memcmp(values, other.values, sizeof values) == 0;
}

std::size_t AnimationTrack::lowerBound(int frame) const {
    return std::size_t(std::lower_bound(keys_.begin(), keys_.end(), frame,
                                        [](const TrackKey& key, int f) { return key.frame < f; }) -
                       keys_.begin());
}

const TrackKey* AnimationTrack::keyAt(int frame) const {
    std::size_t i = lowerBound(frame);
    return i < keys_.size() && keys_[i].frame == frame ? &keys_[i] : nullptr;
}

void AnimationTrack::setKey(int frame, const float* values) {
    std::size_t i = lowerBound(frame);
    if (i == keys_.size() || keys_[i].frame != frame)
        keys_.insert(keys_.begin() + long(i), TrackKey{frame, {}});
    std::copy(values, values + kind_.count, keys_[i].values);
}

bool AnimationTrack::removeKey(int frame) {
    std::size_t i = lowerBound(frame);
    if (i == keys_.size() || keys_[i].frame != frame) return false;
    keys_.erase(keys_.begin() + long(i));
    return true;
}

void AnimationTrack::dropFrom(int frame) {
    keys_.erase(keys_.begin() + long(lowerBound(frame)), keys_.end());
}

int AnimationTrack::previousKey(int frame) const {
    std::size_t i = lowerBound(frame);
    return i == 0 ? -1 : keys_[i - 1].frame;
}

int AnimationTrack::nextKey(int frame) const {
    std::size_t i = lowerBound(frame + 1);
    return i == keys_.size() ? -1 : keys_[i].frame;
}

double AnimationTrack::tangent(std::size_t index, int value) const {
    // The ends rest; inside, the weighted harmonic mean of the two slopes,
    // zero where they differ in sign, keeps each stretch monotone.
    if (index == 0 || index + 1 == keys_.size()) return 0;
    const TrackKey& a = keys_[index - 1];
    const TrackKey& b = keys_[index];
    const TrackKey& c = keys_[index + 1];
    double h0 = b.frame - a.frame, h1 = c.frame - b.frame;
    double d0 = (double(b.values[value]) - a.values[value]) / h0;
    double d1 = (double(c.values[value]) - b.values[value]) / h1;
    if (d0 * d1 <= 0) return 0;
    return 3 * (h0 + h1) / ((2 * h1 + h0) / d0 + (h1 + 2 * h0) / d1);
}

float AnimationTrack::smooth(std::size_t left, int value, int frame) const {
    const TrackKey& a = keys_[left];
    const TrackKey& b = keys_[left + 1];
    double h = b.frame - a.frame;
    double t = (frame - a.frame) / h;
    double y0 = a.values[value], y1 = b.values[value];
    double t2 = t * t, t3 = t2 * t;
    double y = (2 * t3 - 3 * t2 + 1) * y0 + (t3 - 2 * t2 + t) * h * tangent(left, value) +
               (3 * t2 - 2 * t3) * y1 + (t3 - t2) * h * tangent(left + 1, value);
    // Rounding must not carry a value past its neighbours either.
    return float(std::clamp(y, std::min(y0, y1), std::max(y0, y1)));
}

bool AnimationTrack::valuesAt(int frame, Interpolation how, float* pose) const {
    if (keys_.empty()) return false;
    float* out = pose + kind_.first;
    std::size_t right = lowerBound(frame);
    if (right == keys_.size()) right = keys_.size() - 1;
    if (keys_[right].frame <= frame || right == 0 || how == InterpolateHold) {
        const TrackKey& held =
            keys_[right].frame <= frame || right == 0 ? keys_[right] : keys_[right - 1];
        std::copy(held.values, held.values + kind_.count, out);
        return true;
    }
    std::size_t left = right - 1;
    const TrackKey& a = keys_[left];
    const TrackKey& b = keys_[right];
    double t = double(frame - a.frame) / (b.frame - a.frame);
    for (int v = 0; v < kind_.count; ++v) {
        if (how == InterpolateSmooth) {
            out[v] = smooth(left, v, frame);
        } else {
            double y0 = a.values[v], y1 = b.values[v];
            out[v] = float(std::clamp(y0 + (y1 - y0) * t, std::min(y0, y1), std::max(y0, y1)));
        }
    }
    return true;
}
