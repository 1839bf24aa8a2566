#include "sound/SoundFileReader.h"

#include "sound/SoundFormat.h"

#include <windows.h>
#include <mmreg.h>

#include <algorithm>

bool SoundFileReader::fail(const std::string& why) {
    close();
    error_ = why;
    return false;
}

void SoundFileReader::close() {
    if (file_) mmioClose(static_cast<HMMIO>(file_), 0);
    file_ = nullptr;
}

namespace {

const char* const Unreadable = "not a sound file that can be read";

} // namespace

bool SoundFileReader::openFile(const Path& path) {
    HMMIO file = mmioOpenW(const_cast<wchar_t*>(path.c_str()), nullptr, MMIO_READ | MMIO_DENYWRITE);
    if (!file) return fail(Unreadable);
    file_ = file;
    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR)
        return fail(Unreadable);
    MMCKINFO chunk{};
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR || chunk.cksize < 16)
        return fail(Unreadable);
    WAVEFORMATEXTENSIBLE header{};
    LONG size = LONG(std::min<DWORD>(chunk.cksize, sizeof header));
    if (mmioRead(file, reinterpret_cast<HPSTR>(&header), size) != size) return fail(Unreadable);
    WORD tag = header.Format.wFormatTag;
    if (tag == WAVE_FORMAT_EXTENSIBLE && size == LONG(sizeof header))
        tag = WORD(header.SubFormat.Data1);
    format_ = {int(header.Format.nSamplesPerSec), header.Format.nChannels,
               header.Format.wBitsPerSample, tag == WAVE_FORMAT_IEEE_FLOAT};
    if (tag != WAVE_FORMAT_PCM && tag != WAVE_FORMAT_IEEE_FLOAT) format_.bits = 0;
    std::string fault = formatFault(format_);
    if (!fault.empty()) return fail(fault);
    int frameSize = format_.channels * format_.bits / 8;
    if (header.Format.nBlockAlign != frameSize) return fail(Unreadable);

    mmioAscend(file, &chunk, 0);
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
        return fail(Unreadable);
    LONG end = mmioSeek(file, 0, SEEK_END);
    if (end < 0 || std::int64_t(chunk.dwDataOffset) + chunk.cksize > end)
        return fail(ShortFileFault);
    mmioSeek(file, LONG(chunk.dwDataOffset), SEEK_SET);
    frames_ = chunk.cksize / DWORD(frameSize);
    if (frames_ == 0) return fail("no sound in the file");
    return true;
}

bool SoundFileReader::readFile(SoundClip& clip) {
    HMMIO file = static_cast<HMMIO>(file_);
    int frameSize = format_.channels * format_.bits / 8;
    std::vector<Samples> channels(std::size_t(format_.channels));
    for (Samples& samples : channels)
        samples.resize(std::size_t(frames_));
    Samples mix(format_.channels > 1 ? std::size_t(frames_) : 0);
    // Large reads: each costs a trip through the system. The mix is made
    // block by block while the block's samples are still in the cache.
    const std::int64_t Chunk = (std::int64_t(4) << 20) / frameSize;
    std::vector<unsigned char> bytes(std::size_t(Chunk * frameSize));
    for (std::int64_t done = 0; done < frames_;) {
        if (cancelled_) return fail("cancelled");
        std::int64_t count = std::min(Chunk, frames_ - done);
        LONG wanted = LONG(count * frameSize);
        if (mmioRead(file, reinterpret_cast<HPSTR>(bytes.data()), wanted) != wanted)
            return fail(ShortFileFault);
        if (!decodeFrames(bytes.data(), count, format_, channels, done))
            return fail(NotANumberFault);
        if (!mix.empty()) mixChannels(channels, mix, done, count);
        done += count;
    }
    clip = SoundClip(format_.rate, std::move(channels), std::move(mix));
    return true;
}
