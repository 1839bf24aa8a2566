#include "app/AnimationSound.h"

#include "render/ChildStart.h"

#include <cmath>
#include <utility>
#include <windows.h>

bool AnimationSound::load(const std::string& path, bool again) {
    // A sound that could not be read is read again: its file may be back.
    if (!again && path == path_ && (has() || reading_.pending())) return true;
    player_.stop();
    vTimer::stop();
    reading_.cancel();
    row_.setClip(nullptr);
    row_.setReading(false);
    clip_ = SoundClip();
    path_ = path;
    error_.clear();
    if (path.empty()) return false;
    if (!reading_.start(wideText(path))) {
        error_ = reading_.error();
        return false;
    }
    row_.setReading(true);
    start(20);
    return true;
}

void AnimationSound::onTick() {
    if (reading_.outlined()) {
        row_.setOutline(reading_.rate(), reading_.takeOutline());
        if (onOutline) onOutline();
    }
    if (reading_.ended()) take();
}

void AnimationSound::finish() {
    if (!reading()) return;
    HCURSOR cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    take();
    SetCursor(cursor);
}

void AnimationSound::take() {
    vTimer::stop();
    WaveSummary summary;
    // A failed reading takes its outline with it.
    if (reading_.take(clip_, summary))
        row_.setClip(&clip_, std::move(summary));
    else {
        row_.setClip(nullptr);
        error_ = reading_.error();
    }
    row_.setReading(false);
    // A device that refuses now may take it later: playing says so then.
    if (has()) player_.prepare(clip_);
    if (onRead) onRead();
}

bool AnimationSound::play(int frame, int fps, int start, int frames) {
    if (!has()) return false;
    double from = std::floor(double(frame - start) * clip_.rate() / fps);
    if (from < 0 || from >= double(clip_.length())) return false;
    std::int64_t count =
        frames < 0 ? -1 : std::int64_t(std::ceil(double(frames) * clip_.rate() / fps));
    return player_.play(clip_, std::int64_t(from), count);
}

double AnimationSound::frameHeard(int fps, int start) {
    std::int64_t sample = player_.position();
    return sample < 0 ? -1.0 : start + clip_.timeOf(sample) * fps;
}
