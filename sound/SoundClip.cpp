#include "sound/SoundClip.h"

#include <cmath>
#include <utility>

SoundClip::SoundClip(int rate, std::vector<Samples> channels)
    : rate_(rate), channels_(std::move(channels)) {
    if (channels_.size() < 2) return;
    mix_.resize(channels_[0].size());
    float share = 1.0f / float(channels_.size());
    for (std::size_t i = 0; i < mix_.size(); ++i) {
        float sum = 0;
        for (const Samples& samples : channels_)
            sum += samples[i];
        mix_[i] = sum * share;
    }
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
