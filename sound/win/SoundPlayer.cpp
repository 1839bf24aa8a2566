#include "sound/win/SoundPlayer.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cmath>

namespace {

// Blocks of a twentieth of a second, four of them: the device always holds
// more than the feeder thread can be late by, and a stop drops little.
constexpr int BlocksPerSecond = 20;
constexpr int BlockCount = 4;

HWAVEOUT device(void* handle) {
    return static_cast<HWAVEOUT>(handle);
}

} // namespace

struct SoundPlayer::Block {
    WAVEHDR header{};
    std::vector<std::int16_t> samples;
    bool queued = false;
};

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
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    waveOutGetPosition(device(device_), &time, sizeof time);
    base_ = time.wType == TIME_SAMPLES ? time.u.sample : time.u.cb / DWORD(2 * channels_);
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
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(device(device_), &time, sizeof time) != MMSYSERR_NOERROR) return -1;
    std::int64_t played =
        time.wType == TIME_SAMPLES ? time.u.sample : time.u.cb / DWORD(2 * channels_);
    std::int64_t at = from_ + std::max<std::int64_t>(0, played - base_);
    bool queued = std::any_of(blocks_.begin(), blocks_.end(), [](const auto& block) {
        return block->queued && !(block->header.dwFlags & WHDR_DONE);
    });
    if (at >= end_ || (!queued && next_ >= end_)) {
        clip_ = nullptr;
        return -1;
    }
    return at;
}

void SoundPlayer::feed() {
    if (!clip_) return;
    for (auto& block : blocks_) {
        if (next_ >= end_) break;
        if (block->queued && !(block->header.dwFlags & WHDR_DONE)) continue;
        std::int64_t frames = std::int64_t(block->samples.size()) / channels_;
        std::int64_t count = std::min(frames, end_ - next_);
        std::int16_t* out = block->samples.data();
        for (std::int64_t i = 0; i < count; ++i)
            for (int c = 0; c < channels_; ++c)
                *out++ =
                    std::int16_t(std::lrint(clip_->channel(c)[std::size_t(next_ + i)] * 32767.0f));
        block->header.dwBufferLength = DWORD(count * channels_ * sizeof(std::int16_t));
        block->header.dwFlags &= ~DWORD(WHDR_DONE);
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
