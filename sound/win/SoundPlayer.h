// Plays a clip through the platform's wave output (winmm) from any sample
// on, and says which sample is being heard: the device's own position runs
// ahead of that by what it holds (about 100 ms under Wine), so the blocks
// it has finished set the position. The samples go to the device as
// 16-bit blocks a little ahead of what plays, written by a thread of the
// player's own, so the caller never waits on the device. The device stays
// open between plays of the same rate and channels: a scrub plays a frame's
// length at every step.
#pragma once

#include "sound/SoundClip.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class SoundPlayer {
  public:
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Opens the device for `clip`'s rate and channels, which the first
    // time may take seconds (Wine connects to the sound server): done
    // when the sound is chosen, Play starts at once. False as play().
    bool prepare(const SoundClip& clip);
    // Plays `count` samples of `clip` from sample `from`, or to its end
    // when `count` is negative, stopping what played. `clip` must stay as
    // it is until stop(), the next play or the player's end. False, with
    // error() saying why, when the sound cannot be played.
    bool play(const SoundClip& clip, std::int64_t from, std::int64_t count = -1);
    // Silence at once.
    void stop();
    // The sample of the clip being heard now; -1 once it has played out or
    // was stopped.
    std::int64_t position();
    bool playing() { return position() >= 0; }
    const std::string& error() const { return error_; }

  private:
    struct Block;
    bool open(int rate, int channels);
    void close();
    // Fills and hands to the device every block it has finished; with the
    // lock held.
    void feed();
    // The feeder thread: feeds whenever the device says a block is done.
    void run();
    bool fail(const char* what, unsigned result);
    // The samples the device has taken since it was opened.
    std::int64_t devicePosition();

    std::mutex lock_;
    std::thread feeder_;
    std::atomic<bool> quit_{false};
    void* device_ = nullptr; // the open wave output
    void* done_ = nullptr;   // signalled by the device when a block is done
    int rate_ = 0;
    int channels_ = 0;
    std::vector<std::unique_ptr<Block>> blocks_;
    const SoundClip* clip_ = nullptr;
    std::int64_t from_ = 0;  // the sample playing started at
    std::int64_t next_ = 0;  // the next sample to hand to the device
    std::int64_t end_ = 0;   // where playing ends
    std::int64_t base_ = 0;  // the device's position when playing started
    std::int64_t heard_ = 0; // samples of the blocks the device has done
    std::int64_t lead_ = -1; // how far the device's position is ahead; -1: unknown
    std::string error_;
};
