#include "sound/SoundFormat.h"

#include <algorithm>
#include <cmath>
#include <cstring>

constexpr int MinRate = 8000;
constexpr int MaxRate = 48000;

const char* const ShortFileFault = "the file ends before the sound its header announces";
const char* const NotANumberFault = "a sample is not a number";

std::string formatFault(const SoundFormat& format) {
    bool integers =
        !format.floating && (format.bits == 8 || format.bits == 16 || format.bits == 24);
    if (!integers && !(format.floating && format.bits == 32))
        return "samples neither 8-, 16- nor 24-bit integers nor floats";
    if (format.channels < 1 || format.channels > 2) return "neither mono nor stereo";
    if (format.rate < MinRate || format.rate > MaxRate)
        return "sample rate " + std::to_string(format.rate) + " Hz outside 8000 to 48000 Hz";
    return "";
}

namespace {

float sampleAt(const unsigned char* at, const SoundFormat& format) {
    switch (format.bits) {
    case 8: return float(int(at[0]) - 128) / 128.0f;
    case 16: return float(std::int16_t(at[0] | at[1] << 8)) / 32768.0f;
    case 24: {
        std::int32_t value = std::int32_t(std::uint32_t(at[0]) << 8 | std::uint32_t(at[1]) << 16 |
                                          std::uint32_t(at[2]) << 24);
        return float(value >> 8) / 8388608.0f;
    }
    default: {
        std::uint32_t bits = std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 |
                             std::uint32_t(at[2]) << 16 | std::uint32_t(at[3]) << 24;
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    }
}

} // namespace

bool decodeFrames(const unsigned char* bytes, std::int64_t frames, const SoundFormat& format,
                  std::vector<Samples>& channels, std::int64_t at) {
    int size = format.bits / 8;
    for (std::int64_t i = 0; i < frames; ++i)
        for (int c = 0; c < format.channels; ++c) {
            float sample = sampleAt(bytes + (i * format.channels + c) * size, format);
            if (!std::isfinite(sample)) return false;
            // Floats may stray beyond full scale; everything after expects -1 to 1.
            channels[std::size_t(c)][std::size_t(at + i)] = std::clamp(sample, -1.0f, 1.0f);
        }
    return true;
}
