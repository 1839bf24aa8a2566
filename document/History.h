// The editor's one undo history: named steps, each holding only what it
// changed (the pose and selection, the playhead, the settings, the sound, the
// keys it touched, each of one track), never a copy of the animation. Consecutive steps of one
// gesture merge into one. Bounded by count and by memory. Needs no platform.
#pragma once

#include "animation/Animation.h"

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

// A track's key before and after a step; `had`/`has` tell whether there
// was one.
struct KeyChange {
    int track;
    int frame;
    bool had;
    bool has;
    float was[MaxTrackValues];
    float now[MaxTrackValues];
};

struct Step {
    std::string name;
    int gesture = 0; // steps of one gesture share this id; 0 never merges
    PoseState before{}, after{};
    int playheadBefore = 0, playheadAfter = 0;
    AnimationSettings settingsBefore, settingsAfter;
    SoundReference soundBefore, soundAfter;
    // The selected key (track, frame; -1 for none), so undo brings it back.
    int selectionBefore[2] = {-1, -1}, selectionAfter[2] = {-1, -1};
    std::vector<KeyChange> keys;

    KeyChange* find(int track, int frame);
    // The change of `track` at `frame`, made from `key` (null: none) when
    // there is none yet.
    KeyChange& keyChange(int track, int frame, const TrackKey* key);
    // Takes `later` in: this step's before with `later`'s after.
    void absorb(const Step& later);
    std::size_t bytes() const;
};

class History {
  public:
    explicit History(std::size_t maxSteps = 5000, std::size_t maxBytes = 16u << 20)
        : maxSteps_(maxSteps), maxBytes_(maxBytes) {}

    // Adds `step`, or merges it into the last one when both belong to the
    // open gesture; drops what could be redone and the oldest steps past
    // the bounds.
    void push(Step step);
    // The next gesture starts a step of its own even with the same id.
    void seal() { open_ = false; }

    // The step to undo or redo next, or null.
    const Step* undoStep() const { return undo_.empty() ? nullptr : &undo_.back(); }
    const Step* redoStep() const { return redo_.empty() ? nullptr : &redo_.back(); }
    // Moves the next step over to the other side: the caller applies it.
    void undone();
    void redone();

    std::size_t bytes() const { return bytes_; }
    std::size_t undoCount() const { return undo_.size(); }
    std::size_t redoCount() const { return redo_.size(); }

  private:
    std::size_t maxSteps_;
    std::size_t maxBytes_;
    std::size_t bytes_ = 0;
    bool open_ = false;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
};
