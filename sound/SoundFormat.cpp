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
    if (!integers && !(format.floating && (format.bits == 32 || format.bits == 64)))
        return "samples neither 8-, 16- nor 24-bit integers nor 32- or 64-bit floats";
    if (format.channels < 1 || format.channels > 2) return "neither mono nor stereo";
    if (format.rate < MinRate || format.rate > MaxRate)
        return "sample rate " + std::to_string(format.rate) + " Hz outside 8000 to 48000 Hz";
    return "";
}

namespace {

// One loop per sample format, each the compiler can keep tight: a long
// sound's decoding is a good part of the time it takes to open.
template <int Bits, class Decode>
bool decodeEach(const unsigned char* bytes, std::int64_t frames, int channelCount,
                std::vector<Samples>& channels, std::int64_t at, Decode decode) {
    constexpr int Size = Bits / 8;
    for (int c = 0; c < channelCount; ++c) {
        float* out = channels[std::size_t(c)].data() + at;
        const unsigned char* in = bytes + c * Size;
        for (std::int64_t i = 0; i < frames; ++i, in += channelCount * Size)
            if (!decode(in, out[i])) return false;
    }
    return true;
}

template <class Float> bool decodeFloat(const unsigned char* in, float& out) {
    Float value;
    std::memcpy(&value, in, sizeof value);
    // Floats may stray beyond full scale; the rest expects -1 to 1.
    out = float(std::clamp(value, Float(-1), Float(1)));
    return std::isfinite(value);
}

} // namespace

bool decodeFrames(const unsigned char* bytes, std::int64_t frames, const SoundFormat& format,
                  std::vector<Samples>& channels, std::int64_t at) {
    int count = format.channels;
    switch (format.bits) {
    case 8:
        return decodeEach<8>(bytes, frames, count, channels, at,
                             [](const unsigned char* in, float& out) {
                                 out = float(int(in[0]) - 128) * (1.0f / 128.0f);
                                 return true;
                             });
    case 16:
        return decodeEach<16>(bytes, frames, count, channels, at,
                              [](const unsigned char* in, float& out) {
                                  out = float(std::int16_t(in[0] | in[1] << 8)) * (1.0f / 32768.0f);
                                  return true;
                              });
    case 24:
        return decodeEach<24>(bytes, frames, count, channels, at,
                              [](const unsigned char* in, float& out) {
                                  std::int32_t value = std::int32_t(std::uint32_t(in[0]) << 8 |
                                                                    std::uint32_t(in[1]) << 16 |
                                                                    std::uint32_t(in[2]) << 24);
                                  out = float(value >> 8) * (1.0f / 8388608.0f);
                                  return true;
                              });
    case 32: return decodeEach<32>(bytes, frames, count, channels, at, decodeFloat<float>);
    default: return decodeEach<64>(bytes, frames, count, channels, at, decodeFloat<double>);
    }
}
