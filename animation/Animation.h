// The face's animation: a track of keys for each part of the face, the frame
// rate and length, the sound it goes with, and the pose at any frame. Needs
// no platform.
#pragma once

#include "animation/AnimationTrack.h"

#include <string>

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

// The sound the animation goes with: its file and the frame at which it
// starts (0 to MaxLength - 1, whatever the length). No path: no sound.
struct SoundReference {
    std::string path;
    int start = 0;

    bool has() const { return !path.empty(); }
    bool operator==(const SoundReference& other) const;
    bool operator!=(const SoundReference& other) const { return !(*this == other); }
};

class Animation {
  public:
    Animation();

    const AnimationSettings& settings() const { return settings_; }
    // Keys past the new last frame are dropped.
    void setSettings(const AnimationSettings& settings);
    const SoundReference& sound() const { return sound_; }
    void setSound(const SoundReference& sound) { sound_ = sound; }

    const AnimationTrack& track(int track) const { return tracks_[track]; }
    // Sets the key of `track`, or of every track, at `frame` to its values in
    // `pose`, creating it if needed; false outside the frames.
    bool setKey(int frame, const float* pose, int track = AllTracks);
    // Sets the key of `track` at `frame` to the track's own `values`.
    bool setTrackKey(int track, int frame, const float* values);
    // False when there was no key to remove.
    bool removeKey(int frame, int track = AllTracks);
    // Moves the key of `track` (of every track that has one) at `from` to
    // `to`: all or none, never onto another key of its track or past the ends.
    bool moveKey(int from, int to, int track = AllTracks);
    bool canMoveKey(int from, int to, int track = AllTracks) const;
    bool hasKey(int frame, int track = AllTracks) const;
    // The frame of the nearest key before / after `frame`, or -1.
    int previousKey(int frame, int track = AllTracks) const;
    int nextKey(int frame, int track = AllTracks) const;

    // The pose at `frame`: each track's values there; a track with no keys
    // leaves its values of `pose` alone. False when no track has keys.
    bool poseAt(int frame, float* pose) const;

    bool operator==(const Animation& other) const;
    bool operator!=(const Animation& other) const { return !(*this == other); }

  private:
    // The tracks a call takes: `track`, or all of them.
    static int firstOf(int track) { return track == AllTracks ? 0 : track; }
    static int endOf(int track) { return track == AllTracks ? TrackCount : track + 1; }

    AnimationSettings settings_;
    SoundReference sound_;
    AnimationTrack tracks_[TrackCount];
};
