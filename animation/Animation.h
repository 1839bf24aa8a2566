// The face's animation: poses keyed at frames, the frame rate and length, and
// the pose at any frame between the keys. Needs no platform.
#pragma once

#include "face/PoseModel.h"

#include <vector>

// How values move from one key to the next.
enum Interpolation {
    // A cubic through the keys that never overshoots: each value stays between
    // its neighbouring keys' values, so within its limits.
    InterpolateSmooth = 0,
    InterpolateLinear = 1,
    // Each key's pose until the next key.
    InterpolateHold = 2
};

constexpr int MinFps = 1;
constexpr int MaxFps = 60;
constexpr int MinLength = 1;
constexpr int MaxLength = 10000;

struct AnimationSettings {
    int fps = 25;
    int length = 100; // frames 0 to length - 1
    Interpolation interpolation = InterpolateSmooth;

    bool valid() const;
    bool operator==(const AnimationSettings& other) const;
};

struct AnimationKey {
    int frame;
    float pose[PoseCount];

    bool operator==(const AnimationKey& other) const;
};

class Animation {
  public:
    const AnimationSettings& settings() const { return settings_; }
    // Keys past the new last frame are dropped.
    void setSettings(const AnimationSettings& settings);

    // Sorted by frame, one key per frame at most.
    const std::vector<AnimationKey>& keys() const { return keys_; }
    const AnimationKey* keyAt(int frame) const;
    // Sets the key at `frame`, creating it if needed; false outside the frames.
    bool setKey(int frame, const float* pose);
    bool removeKey(int frame);
    // Moves the key at `from` to `to`, never onto another key or past the ends.
    bool moveKey(int from, int to);
    // The frame of the nearest key before / after `frame`, or -1.
    int previousKey(int frame) const;
    int nextKey(int frame) const;

    // The pose at `frame`; false, leaving `pose` alone, when there are no keys.
    // Before the first key and after the last their poses hold.
    bool poseAt(int frame, float* pose) const;

    bool operator==(const Animation& other) const;
    bool operator!=(const Animation& other) const { return !(*this == other); }

  private:
    // The index of the first key at or after `frame`.
    std::size_t lowerBound(int frame) const;
    float smooth(std::size_t left, int value, int frame) const;
    // The Hermite tangent of a value at key `index`, in value per frame.
    double tangent(std::size_t index, int value) const;

    AnimationSettings settings_;
    std::vector<AnimationKey> keys_;
};
