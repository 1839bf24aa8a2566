#include "animation/Timeline.h"

#include <algorithm>
#include <cstdio>

void Timeline::moveTo(int frame) {
    playhead = std::clamp(frame, 0, lastFrame());
}

int Timeline::previousKeyFrame() const {
    int frame = animation.previousKey(playhead);
    return frame < 0 ? playhead : frame;
}

int Timeline::nextKeyFrame() const {
    int frame = animation.nextKey(playhead);
    return frame < 0 ? playhead : frame;
}

bool Timeline::record(const State& before) {
    if (before.animation == animation) return false;
    undo_.push_back(before);
    if (undo_.size() > Limit) undo_.pop_front();
    redo_.clear();
    return true;
}

bool Timeline::move(std::deque<State>& from, std::deque<State>& to, Timeline& timeline) {
    if (from.empty()) return false;
    to.push_back(timeline.state());
    timeline.animation = from.back().animation;
    timeline.playhead = from.back().playhead;
    from.pop_back();
    return true;
}

bool Timeline::undo() {
    return move(undo_, redo_, *this);
}

bool Timeline::redo() {
    return move(redo_, undo_, *this);
}

std::string Timeline::secondsText(int frame, int fps) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", double(frame) / fps);
    return text;
}

std::string Timeline::statusLine() const {
    return secondsText(playhead, animation.settings().fps) + "   frame " +
           std::to_string(playhead) + " of " + std::to_string(animation.settings().length);
}

int RulerScale::frameX(int frame) const {
    int span = std::max(1, width - 2 * margin);
    return margin + int((long long)frame * span / std::max(1, length - 1));
}

int RulerScale::frameAt(int x) const {
    int span = std::max(1, width - 2 * margin);
    long long scaled = (long long)(x - margin) * std::max(1, length - 1);
    int frame = int((scaled + span / 2) / span);
    return std::clamp(frame, 0, length - 1);
}

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
    return int((first_ + drawn_++) % length_);
}
