// A sound read on a thread of its own, so that a long one opens without
// holding up the window (ten minutes of stereo are over 100 MB of
// samples): its header is checked at once; meanwhile the outline of its
// waveform is read, which the window's thread may show, then its samples
// and their summary, which the window's thread takes when they are there.
#pragma once

#include "sound/SoundFileReader.h"
#include "sound/WaveSummary.h"

#include <atomic>
#include <string>
#include <thread>

class SoundReading {
  public:
    SoundReading() = default;
    ~SoundReading() { cancel(); }
    SoundReading(const SoundReading&) = delete;
    SoundReading& operator=(const SoundReading&) = delete;

    // Checks the sound at `path` and starts reading it, dropping a reading
    // still going on; false, with error() saying why, when it is not a
    // sound that can be read.
    bool start(const SoundFileReader::Path& path);
    // A reading started and not yet taken or cancelled.
    bool pending() const { return worker_.joinable(); }
    // The pending reading has ended, well or not: take() returns at once.
    bool ended() const { return ended_; }
    // The pending reading's outline of the waveform is there to take, at
    // the sound's rate().
    bool outlined() const { return outlined_; }
    WaveSummary takeOutline();
    int rate() const { return reader_.format().rate; }
    // Frames of the pending reading's sound read so far, for the outline
    // and again for the samples.
    std::int64_t framesRead() const { return reader_.framesRead(); }
    // Waits for the pending reading to end; true with its clip and the
    // summary of its waveform, false with error() saying why.
    bool take(SoundClip& clip, WaveSummary& summary);
    // Ends the pending reading once the read going on is done (a quarter
    // of a megabyte), dropping what it read.
    void cancel();
    const std::string& error() const { return error_; }

  private:
    SoundFileReader reader_;
    std::thread worker_;
    std::atomic<bool> ended_{false};
    std::atomic<bool> outlined_{false};
    // Written by the worker, read after it is joined.
    bool read_ = false;
    WaveSummary outline_;
    SoundClip clip_;
    WaveSummary summary_;
    std::string error_;
};
