#include "sound/SoundClip.h"

#include <cmath>

SoundClip::SoundClip(int rate, int channels, std::int64_t length)
    : rate_(rate), channels_(channels), frames_(std::size_t(length * channels)) {}

SoundClip::SoundClip(int rate, const std::vector<Samples>& channels)
    : SoundClip(rate, int(channels.size()),
                channels.empty() ? 0 : std::int64_t(channels[0].size())) {
    for (std::size_t i = 0; i < frames_.size(); ++i)
        frames_[i] = pcmOf(channels[i % channels.size()][i / channels.size()]);
}

Samples SoundClip::mono() const {
    Samples mix(static_cast<std::size_t>(length()));
    // Exact: a sum of 16-bit samples over a power of two is a float.
    float scale = 1.0f / (FullScale * float(channels_));
    const std::int16_t* in = frames_.data();
    for (float& out : mix) {
        int sum = 0;
        for (int c = 0; c < channels_; ++c)
            sum += *in++;
        out = float(sum) * scale;
    }
    return mix;
}

std::int64_t SoundClip::sampleAt(double time) const {
    if (length() == 0 || !(time > 0)) return 0;
    double sample = std::floor(time * rate_);
    return sample >= double(length()) ? length() - 1 : std::int64_t(sample);
}

// Times come from sample counts and rates, so a frame's start is often
// computed a hair below the exact value.
constexpr double FrameSlack = 1e-9;

int frameAt(double time, int fps) {
    return int(std::floor(time * fps + FrameSlack));
}

int framesFor(double seconds, int fps) {
    return int(std::ceil(seconds * fps - FrameSlack));
}
