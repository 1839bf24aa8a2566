#include "animation/PlaybackClock.h"

void PlaybackClock::start(int frame, int fps, int length, long long now) {
    first_ = frame;
    fps_ = fps;
    length_ = length;
    start_ = now;
    drawn_ = 0;
}

long long PlaybackClock::due(long long index) const {
    return start_ + index * 1000000 / fps_;
}

int PlaybackClock::frameDue(long long now) {
    if (now < due(drawn_)) return -1;
    // Two frames late or more: skip to the frame due now.
    long long behind = (now - due(drawn_)) * fps_ / 1000000;
    if (behind >= 2) drawn_ += behind;
    return int((first_ + drawn_++) % length_);
}
