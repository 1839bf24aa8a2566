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

// mmio's own file procedure opens names in the ANSI code page, so a name
// beyond it would not open: the file is opened wide, and mmio reads it
// through this procedure, which keeps the handle in the first word of the
// file's information (a handle fits in 32 bits).
LRESULT CALLBACK wideFileProc(LPSTR data, UINT message, LPARAM first, LPARAM second) {
    MMIOINFO& info = *reinterpret_cast<MMIOINFO*>(data);
    HANDLE file = LongToHandle(LONG(info.adwInfo[0]));
    LARGE_INTEGER to{}, at{};
    DWORD got = 0;
    switch (message) {
    case MMIOM_OPEN: info.lDiskOffset = 0; return MMSYSERR_NOERROR;
    case MMIOM_CLOSE: CloseHandle(file); return 0;
    case MMIOM_READ:
        if (!ReadFile(file, reinterpret_cast<void*>(first), DWORD(second), &got, nullptr))
            return -1;
        info.lDiskOffset += LONG(got);
        return LRESULT(got);
    case MMIOM_SEEK:
        // SEEK_SET, SEEK_CUR and SEEK_END are FILE_BEGIN, FILE_CURRENT and
        // FILE_END.
        to.QuadPart = first;
        if (!SetFilePointerEx(file, to, &at, DWORD(second)) || at.QuadPart > LONG_MAX) return -1;
        info.lDiskOffset = LONG(at.QuadPart);
        return LRESULT(at.QuadPart);
    }
    return -1; // never written
}

} // namespace

bool SoundFileReader::openFile(const Path& path) {
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return fail(Unreadable);
    MMIOINFO info{};
    info.pIOProc = wideFileProc;
    info.adwInfo[0] = DWORD(HandleToLong(handle));
    HMMIO file = mmioOpenW(const_cast<wchar_t*>(path.c_str()), &info, MMIO_READ);
    if (!file) {
        CloseHandle(handle);
        return fail(Unreadable);
    }
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
    // A block size that disagrees with the samples' is taken as they say,
    // as libsndfile takes it.
    int frameSize = format_.channels * format_.bits / 8;

    mmioAscend(file, &chunk, 0);
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
        return fail(Unreadable);
    LONG end = mmioSeek(file, 0, SEEK_END);
    if (end < 0 || std::int64_t(chunk.dwDataOffset) + chunk.cksize > end)
        return fail(ShortFileFault);
    dataStart_ = chunk.dwDataOffset;
    frames_ = chunk.cksize / DWORD(frameSize);
    if (frames_ == 0) return fail("no sound in the file");
    return true;
}

bool SoundFileReader::readFile(SoundClip* clip, WaveSummary* summary) {
    HMMIO file = static_cast<HMMIO>(file_);
    mmioSeek(file, LONG(dataStart_), SEEK_SET);
    int frameSize = format_.channels * format_.bits / 8;
    // 16-bit samples are read straight into place; the rest through a
    // block they are decoded from.
    bool direct = format_.bits == 16;
    std::vector<unsigned char> bytes(direct ? 0 : std::size_t(readFrames() * frameSize));
    return readBlocks(clip, summary, [&](std::int16_t* out, std::int64_t count) -> std::string {
        HPSTR into = direct ? reinterpret_cast<HPSTR>(out) : reinterpret_cast<HPSTR>(bytes.data());
        LONG wanted = LONG(count * frameSize);
        if (mmioRead(file, into, wanted) != wanted) return ShortFileFault;
        return direct || decodeSamples(bytes.data(), count * format_.channels, format_, out)
                   ? ""
                   : NotANumberFault;
    });
}
