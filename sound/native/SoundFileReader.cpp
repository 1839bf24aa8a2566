#include "sound/SoundFileReader.h"

#include "sound/SoundFormat.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>

bool SoundFileReader::fail(const std::string& why) {
    close();
    error_ = why;
    return false;
}

void SoundFileReader::close() {
    if (file_) sf_close(static_cast<SNDFILE*>(file_));
    file_ = nullptr;
}

namespace {

SoundFormat formatOf(const SF_INFO& info) {
    SoundFormat format{info.samplerate, info.channels, 0, false};
    switch (info.format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_U8: format.bits = 8; break;
    case SF_FORMAT_PCM_16: format.bits = 16; break;
    case SF_FORMAT_PCM_24: format.bits = 24; break;
    case SF_FORMAT_FLOAT: format = {info.samplerate, info.channels, 32, true}; break;
    case SF_FORMAT_DOUBLE: format = {info.samplerate, info.channels, 64, true}; break;
    default: break;
    }
    return format;
}

// libsndfile shortens a data chunk that claims more than the file holds and
// only says so in its log ("data : 91662 (should be 49956)").
bool dataShorterThanHeader(SNDFILE* file) {
    char log[4096] = "";
    sf_command(file, SFC_GET_LOG_INFO, log, sizeof log);
    for (const char* line = log; line && *line; line = std::strchr(line, '\n')) {
        if (*line == '\n') ++line;
        const char* end = std::strchr(line, '\n');
        std::string text(line, end ? std::size_t(end - line) : std::strlen(line));
        if (text.rfind("data", 0) == 0 && text.find("should be") != std::string::npos) return true;
    }
    return false;
}

} // namespace

bool SoundFileReader::openFile(const Path& path) {
    SF_INFO info;
    std::memset(&info, 0, sizeof info);
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return fail(std::string("not a sound file that can be read (") + sf_strerror(nullptr) +
                    ")");
    file_ = file;
    int major = info.format & SF_FORMAT_TYPEMASK;
    if (major != SF_FORMAT_WAV && major != SF_FORMAT_WAVEX) return fail("not a WAV file");
    format_ = formatOf(info);
    std::string fault = formatFault(format_);
    if (!fault.empty()) return fail(fault);
    if (dataShorterThanHeader(file)) return fail(ShortFileFault);
    if (info.frames <= 0) return fail("no sound in the file");
    frames_ = info.frames;
    return true;
}

bool SoundFileReader::readFile(SoundClip& clip) {
    SNDFILE* file = static_cast<SNDFILE*>(file_);
    int channelCount = format_.channels;
    std::vector<Samples> channels(std::size_t(format_.channels));
    for (Samples& samples : channels)
        samples.resize(std::size_t(frames_));
    // A mono sound reads straight into its channel; a stereo one through a
    // block it is split from.
    Samples mix(channelCount > 1 ? std::size_t(frames_) : 0);
    constexpr sf_count_t Chunk = 1 << 16;
    std::vector<float> interleaved(channelCount > 1 ? std::size_t(Chunk * channelCount) : 0);
    for (sf_count_t done = 0; done < frames_;) {
        if (cancelled_) return fail("cancelled");
        sf_count_t wanted = std::min(Chunk, frames_ - done);
        float* into = channelCount > 1 ? interleaved.data() : channels[0].data() + done;
        if (sf_readf_float(file, into, wanted) != wanted) return fail(ShortFileFault);
        // Float files may hold anything; the rest of the program counts on
        // numbers within full scale.
        for (sf_count_t i = 0; i < wanted * channelCount; ++i) {
            if (!std::isfinite(into[i])) return fail(NotANumberFault);
            into[i] = std::clamp(into[i], -1.0f, 1.0f);
        }
        if (channelCount > 1)
            for (int c = 0; c < channelCount; ++c) {
                float* out = channels[std::size_t(c)].data() + done;
                for (sf_count_t i = 0; i < wanted; ++i)
                    out[i] = interleaved[std::size_t(i * channelCount + c)];
            }
        // Mixed while the block is in the cache.
        if (!mix.empty()) mixChannels(channels, mix, done, wanted);
        done += wanted;
    }
    clip = SoundClip(format_.rate, std::move(channels), std::move(mix));
    return true;
}
