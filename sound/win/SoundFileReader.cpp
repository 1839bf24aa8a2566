#include "sound/SoundFileReader.h"

#include "sound/SoundFormat.h"

#include <windows.h>
#include <mmreg.h>

#include <algorithm>
#include <memory>

bool SoundFileReader::fail(const std::string& why) {
    error_ = why;
    return false;
}

namespace {

struct MmioCloser {
    void operator()(HMMIO file) const { mmioClose(file, 0); }
};

const char* const Unreadable = "not a sound file that can be read";

} // namespace

bool SoundFileReader::readFile(const Path& path, SoundClip& clip) {
    error_.clear();
    std::unique_ptr<std::remove_pointer_t<HMMIO>, MmioCloser> file(
        mmioOpenW(const_cast<wchar_t*>(path.c_str()), nullptr, MMIO_READ | MMIO_DENYWRITE));
    if (!file) return fail(Unreadable);
    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(file.get(), &riff, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR)
        return fail(Unreadable);
    MMCKINFO chunk{};
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file.get(), &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR ||
        chunk.cksize < 16)
        return fail(Unreadable);
    WAVEFORMATEXTENSIBLE header{};
    LONG size = LONG(std::min<DWORD>(chunk.cksize, sizeof header));
    if (mmioRead(file.get(), reinterpret_cast<HPSTR>(&header), size) != size)
        return fail(Unreadable);
    WORD tag = header.Format.wFormatTag;
    if (tag == WAVE_FORMAT_EXTENSIBLE && size == LONG(sizeof header))
        tag = WORD(header.SubFormat.Data1);
    SoundFormat format{int(header.Format.nSamplesPerSec), header.Format.nChannels,
                       header.Format.wBitsPerSample, tag == WAVE_FORMAT_IEEE_FLOAT};
    if (tag != WAVE_FORMAT_PCM && tag != WAVE_FORMAT_IEEE_FLOAT) format.bits = 0;
    std::string fault = formatFault(format);
    if (!fault.empty()) return fail(fault);
    int frameSize = format.channels * format.bits / 8;
    if (header.Format.nBlockAlign != frameSize) return fail(Unreadable);

    mmioAscend(file.get(), &chunk, 0);
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file.get(), &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
        return fail(Unreadable);
    LONG end = mmioSeek(file.get(), 0, SEEK_END);
    if (end < 0 || std::int64_t(chunk.dwDataOffset) + chunk.cksize > end)
        return fail(ShortFileFault);
    mmioSeek(file.get(), LONG(chunk.dwDataOffset), SEEK_SET);
    std::int64_t frames = chunk.cksize / DWORD(frameSize);
    if (frames == 0) return fail("no sound in the file");

    std::vector<Samples> channels(std::size_t(format.channels));
    for (Samples& samples : channels)
        samples.resize(std::size_t(frames));
    Samples mix(format.channels > 1 ? std::size_t(frames) : 0);
    // Large reads: each costs a trip through the system. The mix is made
    // block by block while the block's samples are still in the cache.
    const std::int64_t Chunk = (std::int64_t(4) << 20) / frameSize;
    std::vector<unsigned char> bytes(std::size_t(Chunk * frameSize));
    for (std::int64_t done = 0; done < frames;) {
        std::int64_t count = std::min(Chunk, frames - done);
        LONG wanted = LONG(count * frameSize);
        if (mmioRead(file.get(), reinterpret_cast<HPSTR>(bytes.data()), wanted) != wanted)
            return fail(ShortFileFault);
        if (!decodeFrames(bytes.data(), count, format, channels, done))
            return fail(NotANumberFault);
        if (!mix.empty()) mixChannels(channels, mix, done, count);
        done += count;
    }
    clip = SoundClip(format.rate, std::move(channels), std::move(mix));
    return true;
}
