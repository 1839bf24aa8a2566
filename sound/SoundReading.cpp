#include "sound/SoundReading.h"

#include <utility>

bool SoundReading::start(const SoundFileReader::Path& path) {
    cancel();
    if (!reader_.open(path)) {
        error_ = reader_.error();
        return false;
    }
    error_.clear();
    ended_ = outlined_ = false;
    worker_ = std::thread([this] {
        read_ = reader_.readOutline(outline_);
        outlined_ = read_;
        if (read_) read_ = reader_.readSamples(clip_, &summary_);
        ended_ = true;
    });
    return true;
}

bool SoundReading::take(SoundClip& clip, WaveSummary& summary) {
    if (!pending()) return false;
    worker_.join();
    error_ = reader_.error();
    if (read_) {
        clip = std::move(clip_);
        summary = std::move(summary_);
    }
    clip_ = SoundClip();
    summary_ = WaveSummary();
    outlined_ = false;
    outline_ = WaveSummary();
    return read_;
}

WaveSummary SoundReading::takeOutline() {
    outlined_ = false;
    return std::move(outline_);
}

void SoundReading::cancel() {
    if (!pending()) return;
    reader_.cancel();
    worker_.join();
    outlined_ = false;
    outline_ = WaveSummary();
    clip_ = SoundClip();
    summary_ = WaveSummary();
}
