// The sample formats the program takes from a sound file, what it says
// about the rest, and the decoding of raw little-endian frames into a
// clip's channels. Shared by the platforms' readers; needs no platform.
#pragma once

#include "sound/SampleAllocator.h"

#include <cstdint>
#include <string>
#include <vector>

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

// Decodes `frames` interleaved frames of `format` from `bytes` into
// `channels` from frame `at` on; false if a sample is not a number.
bool decodeFrames(const unsigned char* bytes, std::int64_t frames, const SoundFormat& format,
                  std::vector<Samples>& channels, std::int64_t at);
