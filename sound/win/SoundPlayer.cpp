#include "sound/win/SoundPlayer.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>

namespace {

// Blocks of a hundredth of a second, twenty of them: the device always
// holds more than the feeder thread can be late by, and the blocks it has
// done tell what has been heard closely, also at 60 frames a second.
constexpr int BlocksPerSecond = 100;
constexpr int BlockCount = 20;

HWAVEOUT device(void* handle) {
    return static_cast<HWAVEOUT>(handle);
}

} // namespace

struct SoundPlayer::Block {
    WAVEHDR header{};
    std::vector<std::int16_t> samples;
    std::int64_t frames = 0; // of the clip it holds
    bool queued = false;
};

std::int64_t SoundPlayer::devicePosition() {
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(device(device_), &time, sizeof time) != MMSYSERR_NOERROR) return 0;
    return time.wType == TIME_SAMPLES ? time.u.sample : time.u.cb / DWORD(2 * channels_);
}

SoundPlayer::SoundPlayer() = default;

SoundPlayer::~SoundPlayer() {
    close();
}

bool SoundPlayer::fail(const char* what, unsigned result) {
    char text[MAXERRORLENGTH] = "";
    waveOutGetErrorTextA(result, text, sizeof text);
    error_ = std::string(what) + ": " + text;
    return false;
}

bool SoundPlayer::open(int rate, int channels) {
    if (device_ && rate == rate_ && channels == channels_) return true;
    close();
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = WORD(channels);
    format.nSamplesPerSec = DWORD(rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = WORD(channels * 2);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    done_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!done_) return fail("no event for the sound device", MMSYSERR_NOMEM);
    HWAVEOUT handle = nullptr;
    MMRESULT result =
        waveOutOpen(&handle, WAVE_MAPPER, &format, DWORD_PTR(done_), 0, CALLBACK_EVENT);
    if (result != MMSYSERR_NOERROR) {
        CloseHandle(done_);
        done_ = nullptr;
        return fail("the sound device refused the sound", result);
    }
    device_ = handle;
    rate_ = rate;
    channels_ = channels;
    std::size_t size = std::size_t(rate / BlocksPerSecond * channels);
    for (int i = 0; i < BlockCount; ++i) {
        auto block = std::make_unique<Block>();
        block->samples.resize(size);
        block->header.lpData = reinterpret_cast<LPSTR>(block->samples.data());
        block->header.dwBufferLength = DWORD(size * sizeof(std::int16_t));
        waveOutPrepareHeader(handle, &block->header, sizeof block->header);
        blocks_.push_back(std::move(block));
    }
    quit_ = false;
    feeder_ = std::thread([this] { run(); });
    return true;
}

void SoundPlayer::close() {
    if (!device_) return;
    quit_ = true;
    SetEvent(done_);
    feeder_.join();
    waveOutReset(device(device_));
    for (auto& block : blocks_)
        waveOutUnprepareHeader(device(device_), &block->header, sizeof block->header);
    blocks_.clear();
    waveOutClose(device(device_));
    CloseHandle(done_);
    device_ = done_ = nullptr;
    clip_ = nullptr;
}

bool SoundPlayer::prepare(const SoundClip& clip) {
    return !clip.empty() && open(clip.rate(), clip.channelCount());
}

bool SoundPlayer::play(const SoundClip& clip, std::int64_t from, std::int64_t count) {
    stop();
    if (from < 0 || from >= clip.length() || !prepare(clip)) return false;
    std::lock_guard<std::mutex> hold(lock_);
    clip_ = &clip;
    from_ = next_ = from;
    end_ = count < 0 ? clip.length() : std::min(clip.length(), from + count);
    base_ = devicePosition();
    heard_ = 0;
    lead_ = -1;
    feed();
    return true;
}

void SoundPlayer::stop() {
    if (!device_) return;
    std::lock_guard<std::mutex> hold(lock_);
    clip_ = nullptr;
    // Hands back every block at once, marked done.
    waveOutReset(device(device_));
    for (auto& block : blocks_)
        block->queued = false;
}

std::int64_t SoundPlayer::position() {
    std::lock_guard<std::mutex> hold(lock_);
    if (!clip_) return -1;
    // Nothing is heard before the first block is done.
    std::int64_t at = from_ + (lead_ < 0 ? 0 : std::max(heard_, devicePosition() - base_ - lead_));
    bool queued = std::any_of(blocks_.begin(), blocks_.end(),
                              [](const auto& block) { return block->queued; });
    if (at >= end_ || (!queued && next_ >= end_)) {
        clip_ = nullptr;
        return -1;
    }
    return at;
}

void SoundPlayer::feed() {
    if (!clip_) return;
    // The device counts what it has taken, some way ahead of what is
    // heard; the blocks it has done are heard. How far ahead it is, is
    // taken when a block is done (the smallest seen: this thread may wake
    // late, never early).
    std::int64_t done = 0;
    for (auto& block : blocks_)
        if (block->queued && (block->header.dwFlags & WHDR_DONE)) {
            done += block->frames;
            block->queued = false;
        }
    if (done > 0) {
        heard_ += done;
        std::int64_t lead = devicePosition() - base_ - heard_;
        lead_ = lead_ < 0 ? lead : std::min(lead_, lead);
    }
    for (auto& block : blocks_) {
        if (next_ >= end_) break;
        if (block->queued) continue;
        std::int64_t frames = std::int64_t(block->samples.size()) / channels_;
        std::int64_t count = std::min(frames, end_ - next_);
        const std::int16_t* from = clip_->frames() + next_ * channels_;
        std::copy(from, from + count * channels_, block->samples.data());
        block->header.dwBufferLength = DWORD(count * channels_ * sizeof(std::int16_t));
        block->header.dwFlags &= ~DWORD(WHDR_DONE);
        block->frames = count;
        block->queued = true;
        next_ += count;
        waveOutWrite(device(device_), &block->header, sizeof block->header);
    }
}

void SoundPlayer::run() {
    while (!quit_) {
        WaitForSingleObject(done_, INFINITE);
        std::lock_guard<std::mutex> hold(lock_);
        if (!quit_) feed();
    }
}
