// A sound held in memory: its samples as floats (-1 to 1) per channel and
// mixed to one, its rate, and the arithmetic between samples, seconds and
// animation frames. Needs no platform.
#pragma once

#include "sound/SampleAllocator.h"

#include <cstdint>
#include <vector>

class SoundClip {
  public:
    SoundClip() = default;
    // `channels` holds one or more channels of equal length; `mix`, their
    // mean where a reader has mixed them already block by block, while they
    // were in the cache.
    SoundClip(int rate, std::vector<Samples> channels, Samples mix = {});

    bool empty() const { return length() == 0; }
    int rate() const { return rate_; }
    int channelCount() const { return int(channels_.size()); }
    // Samples per channel.
    std::int64_t length() const { return channels_.empty() ? 0 : channels_[0].size(); }
    double seconds() const { return rate_ > 0 ? double(length()) / rate_ : 0.0; }

    const Samples& channel(int index) const { return channels_[index]; }
    // The channels' mean; a mono clip's one channel itself; empty for an
    // empty clip.
    const Samples& mono() const { return channels_.size() == 1 ? channels_[0] : mix_; }

    // The sample playing at `time` seconds, clamped to the clip.
    std::int64_t sampleAt(double time) const;
    double timeOf(std::int64_t sample) const { return double(sample) / rate_; }

  private:
    int rate_ = 0;
    std::vector<Samples> channels_;
    Samples mix_;
};

// Writes the mean of `channels` over samples [first, first + count) into
// the same samples of `mix`.
void mixChannels(const std::vector<Samples>& channels, Samples& mix, std::int64_t first,
                 std::int64_t count);

// Frame `frame` of an animation at `fps` starts at this time.
inline double frameTime(int frame, int fps) {
    return double(frame) / fps;
}
// The frame shown at `time` seconds (frames count from 0 at time 0); a time
// a rounding error short of a frame's start belongs to that frame.
int frameAt(double time, int fps);
// Frames needed to show all of `seconds`.
int framesFor(double seconds, int fps);
