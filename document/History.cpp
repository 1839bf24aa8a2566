#include "document/History.h"

#include <cstring>

KeyChange* Step::find(int track, int frame) {
    for (KeyChange& change : keys)
        if (change.track == track && change.frame == frame) return &change;
    return nullptr;
}

KeyChange& Step::keyChange(int track, int frame, const TrackKey* key) {
    if (KeyChange* known = find(track, frame)) return *known;
    KeyChange change{};
    change.track = track;
    change.frame = frame;
    change.had = change.has = key != nullptr;
    if (key) {
        std::memcpy(change.was, key->values, sizeof change.was);
        std::memcpy(change.now, key->values, sizeof change.now);
    }
    keys.push_back(change);
    return keys.back();
}

void Step::absorb(const Step& later) {
    after = later.after;
    playheadAfter = later.playheadAfter;
    settingsAfter = later.settingsAfter;
    soundAfter = later.soundAfter;
    std::memcpy(selectionAfter, later.selectionAfter, sizeof selectionAfter);
    for (const KeyChange& change : later.keys) {
        KeyChange* mine = find(change.track, change.frame);
        if (!mine) {
            keys.push_back(change);
            continue;
        }
        mine->has = change.has;
        std::memcpy(mine->now, change.now, sizeof mine->now);
    }
}

std::size_t Step::bytes() const {
    return sizeof(Step) + name.capacity() + soundBefore.path.capacity() +
           soundAfter.path.capacity() + keys.capacity() * sizeof(KeyChange);
}

void History::push(Step step) {
    for (const Step& dropped : redo_)
        bytes_ -= dropped.bytes();
    redo_.clear();
    if (open_ && step.gesture != 0 && !undo_.empty() && undo_.back().gesture == step.gesture) {
        bytes_ -= undo_.back().bytes();
        undo_.back().absorb(step);
        bytes_ += undo_.back().bytes();
        return;
    }
    open_ = step.gesture != 0;
    bytes_ += step.bytes();
    undo_.push_back(std::move(step));
    // The newest step stays, however large.
    while (undo_.size() > 1 && (undo_.size() > maxSteps_ || bytes_ > maxBytes_)) {
        bytes_ -= undo_.front().bytes();
        undo_.pop_front();
    }
}

void History::undone() {
    open_ = false;
    redo_.push_back(std::move(undo_.back()));
    undo_.pop_back();
}

void History::redone() {
    open_ = false;
    undo_.push_back(std::move(redo_.back()));
    redo_.pop_back();
}
