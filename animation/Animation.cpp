#include "animation/Animation.h"

#include <algorithm>
#include <cstring>

bool AnimationSettings::valid() const {
    return fps >= MinFps && fps <= MaxFps && length >= MinLength && length <= MaxLength &&
           (interpolation == InterpolateSmooth || interpolation == InterpolateLinear ||
            interpolation == InterpolateHold);
}

bool AnimationSettings::operator==(const AnimationSettings& other) const {
    return fps == other.fps && length == other.length && interpolation == other.interpolation;
}

bool AnimationKey::operator==(const AnimationKey& other) const {
    return frame == other.frame && std::memcmp(pose, other.pose, sizeof pose) == 0;
}

void Animation::setSettings(const AnimationSettings& settings) {
    settings_ = settings;
    keys_.erase(keys_.begin() + long(lowerBound(settings.length)), keys_.end());
}

std::size_t Animation::lowerBound(int frame) const {
    return std::size_t(
        std::lower_bound(keys_.begin(), keys_.end(), frame,
                         [](const AnimationKey& key, int f) { return key.frame < f; }) -
        keys_.begin());
}

const AnimationKey* Animation::keyAt(int frame) const {
    std::size_t i = lowerBound(frame);
    return i < keys_.size() && keys_[i].frame == frame ? &keys_[i] : nullptr;
}

bool Animation::setKey(int frame, const float* pose) {
    if (frame < 0 || frame >= settings_.length) return false;
    std::size_t i = lowerBound(frame);
    if (i == keys_.size() || keys_[i].frame != frame) {
        AnimationKey key{};
        key.frame = frame;
        keys_.insert(keys_.begin() + long(i), key);
    }
    std::memcpy(keys_[i].pose, pose, sizeof keys_[i].pose);
    return true;
}

bool Animation::removeKey(int frame) {
    std::size_t i = lowerBound(frame);
    if (i == keys_.size() || keys_[i].frame != frame) return false;
    keys_.erase(keys_.begin() + long(i));
    return true;
}

bool Animation::moveKey(int from, int to) {
    const AnimationKey* key = keyAt(from);
    if (!key || to < 0 || to >= settings_.length || keyAt(to)) return false;
    AnimationKey moved = *key;
    removeKey(from);
    return setKey(to, moved.pose);
}

int Animation::previousKey(int frame) const {
    std::size_t i = lowerBound(frame);
    return i == 0 ? -1 : keys_[i - 1].frame;
}

int Animation::nextKey(int frame) const {
    std::size_t i = lowerBound(frame + 1);
    return i == keys_.size() ? -1 : keys_[i].frame;
}

double Animation::tangent(std::size_t index, int value) const {
    // The ends rest; inside, the weighted harmonic mean of the two slopes,
    // zero where they differ in sign, keeps each stretch monotone.
    if (index == 0 || index + 1 == keys_.size()) return 0;
    const AnimationKey& a = keys_[index - 1];
    const AnimationKey& b = keys_[index];
    const AnimationKey& c = keys_[index + 1];
    double h0 = b.frame - a.frame, h1 = c.frame - b.frame;
    double d0 = (double(b.pose[value]) - a.pose[value]) / h0;
    double d1 = (double(c.pose[value]) - b.pose[value]) / h1;
    if (d0 * d1 <= 0) return 0;
    return 3 * (h0 + h1) / ((2 * h1 + h0) / d0 + (h1 + 2 * h0) / d1);
}

float Animation::smooth(std::size_t left, int value, int frame) const {
    const AnimationKey& a = keys_[left];
    const AnimationKey& b = keys_[left + 1];
    double h = b.frame - a.frame;
    double t = (frame - a.frame) / h;
    double y0 = a.pose[value], y1 = b.pose[value];
    double t2 = t * t, t3 = t2 * t;
    double y = (2 * t3 - 3 * t2 + 1) * y0 + (t3 - 2 * t2 + t) * h * tangent(left, value) +
               (3 * t2 - 2 * t3) * y1 + (t3 - t2) * h * tangent(left + 1, value);
    // Rounding must not carry a value past its neighbours either.
    return float(std::clamp(y, std::min(y0, y1), std::max(y0, y1)));
}

bool Animation::poseAt(int frame, float* pose) const {
    if (keys_.empty()) return false;
    std::size_t right = lowerBound(frame);
    if (right == keys_.size()) right = keys_.size() - 1;
    if (keys_[right].frame <= frame || right == 0 || settings_.interpolation == InterpolateHold) {
        const AnimationKey& held =
            keys_[right].frame <= frame || right == 0 ? keys_[right] : keys_[right - 1];
        std::memcpy(pose, held.pose, sizeof held.pose);
        return true;
    }
    std::size_t left = right - 1;
    const AnimationKey& a = keys_[left];
    const AnimationKey& b = keys_[right];
    double t = double(frame - a.frame) / (b.frame - a.frame);
    for (int v = 0; v < PoseCount; ++v) {
        if (settings_.interpolation == InterpolateSmooth) {
            pose[v] = smooth(left, v, frame);
        } else {
            double y0 = a.pose[v], y1 = b.pose[v];
            pose[v] = float(std::clamp(y0 + (y1 - y0) * t, std::min(y0, y1), std::max(y0, y1)));
        }
    }
    return true;
}

bool Animation::operator==(const Animation& other) const {
    return settings_ == other.settings_ && keys_ == other.keys_;
}
