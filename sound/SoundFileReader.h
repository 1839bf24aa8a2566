// Reading a WAV file into a clip through the platform: winmm's multimedia
// file calls in the Windows builds (sound/win/), libsndfile natively
// (sound/native/). 8-, 16- and 24-bit integer and 32- and 64-bit float
// samples, one or two channels, 8 to 48 kHz.
#pragma once

#include "sound/SoundClip.h"
#include "sound/SoundFormat.h"
#include "sound/WaveSummary.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <stdexcept>
#include <string>

class SoundFileReader {
  public:
#ifdef _WIN32
    using Path = std::wstring;
#else
    using Path = std::string;
#endif

    // Each read asks for this much of the file: small enough that a cancel
    // is seen soon also on a slow disk, large enough that the calls cost
    // little, and held in the processor's cache while decoded and
    // summarised.
    static constexpr int ReadBytes = 256 << 10;

    SoundFileReader() = default;
    ~SoundFileReader() {
        close();
    }
    SoundFileReader(const SoundFileReader&) = delete;
    SoundFileReader& operator=(const SoundFileReader&) = delete;

    // The whole file into `clip`; false, leaving `clip` alone, when the file
    // cannot be read, is not such a sound or holds less than its header
    // says. error() then says why.
    bool read(const Path& path, SoundClip& clip) {
        return open(path) && readSamples(clip);
    }
    // The first half of read(): opens the file and checks its header,
    // which takes no time whatever the sound's length.
    bool open(const Path& path) {
        close();
        error_.clear();
        cancelled_ = false;
        framesRead_ = 0;
        return openFile(path);
    }
    // The second half: the opened file's samples into `clip`, and the
    // summary of its waveform into `summary` when given, made as the
    // samples come in. For a long sound that takes a while; a thread may
    // cancel() it meanwhile, which it sees after the read going on.
    bool readSamples(SoundClip& clip, WaveSummary* summary = nullptr) {
        bool read = readSafely(&clip, summary);
        close();
        return read;
    }
    // Before readSamples(), when wanted: the opened file's waveform alone
    // into `outline`, read through one small block. Filling the samples'
    // fresh memory is most of what readSamples() costs, so this takes a
    // fraction of its time.
    bool readOutline(WaveSummary& outline) {
        return readSafely(nullptr, &outline);
    }
    const SoundFormat& format() const {
        return format_;
    }
    void cancel() {
        cancelled_ = true;
    }
    // Frames of the opened file read so far; a thread may ask meanwhile.
    std::int64_t framesRead() const {
        return framesRead_;
    }
    const std::string& error() const {
        return error_;
    }

  private:
    bool readSafely(SoundClip* clip, WaveSummary* summary) {
        // A long sound may not fit in memory, above all in the 32-bit program.
        try {
            return file_ && readFile(clip, summary);
        } catch (const std::bad_alloc&) {
            return fail("too long to hold in memory");
        } catch (const std::length_error&) {
            return fail("too long to hold in memory");
        }
    }
    bool openFile(const Path& path);
    // The samples from the first on into `clip` and its `summary`, or with
    // no clip, into the outline `summary`.
    bool readFile(SoundClip* clip, WaveSummary* summary);
    // Frames in each read: whole blocks of the summary, for an outline.
    std::int64_t readFrames() const {
        return ReadBytes / (format_.channels * format_.bits / 8) / WaveSummary::blockFrames() *
               WaveSummary::blockFrames();
    }
    // readFile()'s loop, the same on every platform: `block(out, count)`
    // puts the next `count` frames at `out` as 16-bit samples, or says
    // what is wrong with them.
    template <class Block> bool readBlocks(SoundClip* clip, WaveSummary* summary, Block block) {
        int channels = format_.channels;
        // An outline reads through one block of samples.
        SoundClip read(format_.rate, channels, clip ? frames_ : readFrames());
        WaveSummary summarised = clip ? WaveSummary(read, 0) : WaveSummary(channels);
        for (std::int64_t done = 0; done < frames_;) {
            if (cancelled_) return fail("cancelled");
            std::int64_t count = std::min(readFrames(), frames_ - done);
            std::int16_t* out = read.frames() + (clip ? done * channels : 0);
            std::string fault = block(out, count);
            if (!fault.empty()) return fail(fault);
            done += count;
            // Summarised while the samples are in the cache.
            if (!clip)
                summarised.extend(out, done);
            else if (summary)
                summarised.extend(done);
            framesRead_ = done;
        }
        if (clip) *clip = std::move(read);
        if (summary) *summary = std::move(summarised);
        return true;
    }
    void close();
    // Closes the file and says why.
    bool fail(const std::string& why);

    void* file_ = nullptr; // the platform's open file
    SoundFormat format_{};
    std::int64_t frames_ = 0;
#ifdef _WIN32
    std::int64_t dataStart_ = 0; // where the samples start in the file
#endif
    std::atomic<bool> cancelled_{false};
    std::atomic<std::int64_t> framesRead_{0};
    std::string error_;
};
