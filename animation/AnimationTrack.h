// One part of the face animated on its own: its keys at frames, each holding
// the part's values, and its values at any frame between them. The eyes, the
// lids and the mouth each have a track. Needs no platform.
#pragma once

#include "face/PoseModel.h"

#include <vector>

// How values move from one key to the next.
enum Interpolation {
    // A cubic through the keys that never overshoots: each value stays between
    // its neighbouring keys' values, so within its limits.
    InterpolateSmooth = 0,
    InterpolateLinear = 1,
    // Each key's values until the next key.
    InterpolateHold = 2
};

enum TrackId { TrackEyes = 0, TrackLids = 1, TrackMouth = 2 };
constexpr int TrackCount = 3;
// Every track at once, where a call takes a track.
constexpr int AllTracks = -1;
constexpr int MaxTrackValues = 5;

// Which pose values a track holds: `count` of them from `first`.
struct TrackKind {
    const char* name; // as the strip shows it
    int first;
    int count;
};

extern const TrackKind trackKinds[TrackCount];

// The track that holds pose value `index`.
int trackOfValue(int index);

struct TrackKey {
    int frame;
    float values[MaxTrackValues]; // the track's own values; the rest are 0

    bool operator==(const TrackKey& other) const;
};

class AnimationTrack {
  public:
    explicit AnimationTrack(int track) : kind_(trackKinds[track]) {}

    const TrackKind& kind() const { return kind_; }
    // Sorted by frame, one key per frame at most.
    const std::vector<TrackKey>& keys() const { return keys_; }
    const TrackKey* keyAt(int frame) const;
    // Sets the key at `frame` to the track's `values`, creating it if needed.
    void setKey(int frame, const float* values);
    bool removeKey(int frame);
    // Drops the keys at `frame` and after.
    void dropFrom(int frame);
    // The frame of the nearest key before / after `frame`, or -1.
    int previousKey(int frame) const;
    int nextKey(int frame) const;

    // The track's values at `frame` into `pose` at the track's own places;
    // false, leaving `pose` alone, when there are no keys. Before the first
    // key and after the last their values hold.
    bool valuesAt(int frame, Interpolation how, float* pose) const;

    bool operator==(const AnimationTrack& other) const { return keys_ == other.keys_; }

  private:
    // The index of the first key at or after `frame`.
    std::size_t lowerBound(int frame) const;
    float smooth(std::size_t left, int value, int frame) const;
    // The Hermite tangent of a value at key `index`, in value per frame.
    double tangent(std::size_t index, int value) const;

    TrackKind kind_;
    std::vector<TrackKey> keys_;
};
