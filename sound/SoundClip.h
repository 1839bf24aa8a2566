// A sound held in memory: its samples as 16-bit integers, the channels'
// samples of each frame side by side as the sound device takes them, its
// rate, and the arithmetic between samples, seconds and animation frames.
// Sixteen bits are what the device plays, in half the memory of floats:
// ten minutes of 48 kHz stereo are 115 MB. Needs no platform.
#pragma once

#include "sound/SampleAllocator.h"

#include <cstdint>
#include <vector>

class SoundClip {
  public:
    // A sample divided by this lies within -1 and 1.
    static constexpr float FullScale = 32768.0f;

    SoundClip() = default;
    // `length` frames of `channels` samples, unset until written through
    // frames().
    SoundClip(int rate, int channels, std::int64_t length);
    // One or more channels of equal length, as floats from -1 to 1.
    SoundClip(int rate, const std::vector<Samples>& channels);

    bool empty() const { return length() == 0; }
    int rate() const { return rate_; }
    int channelCount() const { return channels_; }
    // Frames: samples per channel.
    std::int64_t length() const {
        return channels_ > 0 ? std::int64_t(frames_.size()) / channels_ : 0;
    }
    double seconds() const { return rate_ > 0 ? double(length()) / rate_ : 0.0; }

    // The frames, one sample per channel each. They keep their place when
    // the clip is moved.
    const std::int16_t* frames() const { return frames_.data(); }
    std::int16_t* frames() { return frames_.data(); }
    float sample(int channel, std::int64_t frame) const {
        return frames_[std::size_t(frame * channels_ + channel)] / FullScale;
    }
    // The channels' mean as floats, made anew at each call; empty for an
    // empty clip.
    Samples mono() const;

    // The sample playing at `time` seconds, clamped to the clip.
    std::int64_t sampleAt(double time) const;
    double timeOf(std::int64_t sample) const { return double(sample) / rate_; }

  private:
    int rate_ = 0;
    int channels_ = 0;
    Pcm frames_;
};

// A float as the nearest 16-bit sample, held within full scale (not a
// number: -1). Written so that a loop of it compiles to vector code.
inline std::int16_t pcmOf(float value) {
    value = value >= -1.0f ? value : -1.0f;
    value = value <= 1.0f ? value : 1.0f;
    float scaled = value * SoundClip::FullScale;
    int rounded = int(scaled + (scaled < 0 ? -0.5f : 0.5f));
    return std::int16_t(rounded < 32767 ? rounded : 32767);
}

// Frame `frame` of an animation at `fps` starts at this time.
inline double frameTime(int frame, int fps) {
    return double(frame) / fps;
}
// The frame shown at `time` seconds (frames count from 0 at time 0); a time
// a rounding error short of a frame's start belongs to that frame.
int frameAt(double time, int fps);
// Frames needed to show all of `seconds`.
int framesFor(double seconds, int fps);
