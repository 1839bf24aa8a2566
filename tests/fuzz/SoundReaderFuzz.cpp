// Feeds arbitrary bytes, as a file, to the sound reader. Whatever it
// accepts must be a sound the rest of the program can take: 8 to 48 kHz,
// one or two channels of equal, non-zero length, whose waveform can be
// summarised.
#include "sound/SoundFileReader.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/tavok-sound-fuzz-" + std::to_string(getpid()) + ".wav";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out || std::fwrite(data, 1, size, out) != size || std::fclose(out) != 0) std::abort();
    SoundClip clip;
    SoundFileReader reader;
    if (!reader.read(path, clip)) {
        if (reader.error().empty() || !clip.empty()) std::abort();
        return 0;
    }
    if (clip.rate() < 8000 || clip.rate() > 48000 || clip.channelCount() < 1 ||
        clip.channelCount() > 2 || clip.empty())
        std::abort();
    SampleRange whole = WaveSummary(clip).range(0, clip.length());
    if (!(whole.low <= whole.high)) std::abort();
    return 0;
}
