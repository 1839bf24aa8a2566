#include "sound/SoundFormat.h"

#include "sound/SoundClip.h"

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
void decodeEach(const unsigned char* bytes, std::int64_t count, std::int16_t* out, Decode decode) {
    for (std::int64_t i = 0; i < count; ++i)
        out[i] = decode(bytes + i * (Bits / 8));
}

// Checked for numbers over the whole run rather than sample by sample, so
// that the loop stays one the compiler turns into vector code.
template <class Float>
bool decodeFloats(const unsigned char* bytes, std::int64_t count, std::int16_t* out) {
    int faults = 0;
    for (std::int64_t i = 0; i < count; ++i) {
        Float value;
        std::memcpy(&value, bytes + i * std::int64_t(sizeof value), sizeof value);
        // Infinity and not-a-number give not-a-number here.
        faults |= !(value - value == 0);
        // Floats may stray beyond full scale, doubles beyond a float's range.
        Float held = value >= -1 ? value : -1;
        out[i] = pcmOf(float(held <= 1 ? held : 1));
    }
    return faults == 0;
}

} // namespace

bool decodeSamples(const unsigned char* bytes, std::int64_t count, const SoundFormat& format,
                   std::int16_t* out) {
    switch (format.bits) {
    case 8:
        decodeEach<8>(bytes, count, out,
                      [](const unsigned char* in) { return std::int16_t((in[0] - 128) * 256); });
        return true;
    case 16: std::memcpy(out, bytes, std::size_t(count) * 2); return true;
    case 24:
        // The top 16 of the 24 bits, as libsndfile takes them.
        decodeEach<24>(bytes, count, out,
                       [](const unsigned char* in) { return std::int16_t(in[1] | in[2] << 8); });
        return true;
    case 32: return decodeFloats<float>(bytes, count, out);
    default: return decodeFloats<double>(bytes, count, out);
    }
}
