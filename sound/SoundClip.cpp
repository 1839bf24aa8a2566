#include "sound/SoundClip.h"

#include <cmath>
#include <utility>

SoundClip::SoundClip(int rate, std::vector<Samples> channels, Samples mix)
    : rate_(rate), channels_(std::move(channels)), mix_(std::move(mix)) {
    if (channels_.size() < 2 || mix_.size() == channels_[0].size()) return;
    mix_.resize(channels_[0].size());
    mixChannels(channels_, mix_, 0, std::int64_t(mix_.size()));
}

void mixChannels(const std::vector<Samples>& channels, Samples& mix, std::int64_t first,
                 std::int64_t count) {
    float share = 1.0f / float(channels.size());
    for (std::size_t i = std::size_t(first); i < std::size_t(first + count); ++i) {
        float sum = 0;
        for (const Samples& samples : channels)
            sum += samples[i];
        mix[i] = sum * share;
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
