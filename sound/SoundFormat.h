// The sample formats the program takes from a sound file, what it says
// about the rest, and the decoding of raw little-endian samples into a
// clip's. Shared by the platforms' readers; needs no platform.
#pragma once

#include <cstdint>
#include <string>

struct SoundFormat {
    int rate;
    int channels;
    int bits;      // per sample
    bool floating; // IEEE floats rather than integers (unsigned for 8 bits)
};

// Why the program does not take sounds of `format`, or "" when it does.
std::string formatFault(const SoundFormat& format);

// Why a file is refused when it holds less than its header announces.
extern const char* const ShortFileFault;
extern const char* const NotANumberFault;

// Decodes `count` little-endian samples of `format` from `bytes` into
// 16-bit samples at `out`; false if a sample is not a number.
bool decodeSamples(const unsigned char* bytes, std::int64_t count, const SoundFormat& format,
                   std::int16_t* out);
