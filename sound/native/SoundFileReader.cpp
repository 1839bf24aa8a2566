#include "sound/SoundFileReader.h"

#include "sound/SoundFormat.h"

#include <sndfile.h>

#include <algorithm>
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

bool SoundFileReader::readFile(SoundClip* clip, WaveSummary* summary) {
    SNDFILE* file = static_cast<SNDFILE*>(file_);
    sf_seek(file, 0, SEEK_SET);
    // Integer samples come as 16 bits straight into place; floats through
    // a block, to be checked for numbers and held at full scale. Doubles
    // stay doubles: one beyond a float's range is held at full scale, as on
    // Windows, not made an infinity that is no number.
    std::size_t block = std::size_t(readFrames() * format_.channels);
    bool doubles = format_.bits == 64;
    std::vector<float> singles(format_.floating && !doubles ? block : 0);
    std::vector<double> wide(doubles ? block : 0);
    const SoundFormat asRead{format_.rate, format_.channels, doubles ? 64 : 32, true};
    return readBlocks(clip, summary, [&](std::int16_t* out, sf_count_t count) -> std::string {
        if (!format_.floating)
            return sf_readf_short(file, out, count) == count ? "" : ShortFileFault;
        if ((doubles ? sf_readf_double(file, wide.data(), count)
                     : sf_readf_float(file, singles.data(), count)) != count)
            return ShortFileFault;
        const void* read = doubles ? static_cast<const void*>(wide.data()) : singles.data();
        return decodeSamples(static_cast<const unsigned char*>(read), count * format_.channels,
                             asRead, out)
                   ? ""
                   : NotANumberFault;
    });
}
