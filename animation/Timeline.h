// The editor's side of an animation: the playhead, undo and redo of every
// timeline change, where frames lie on the ruler, and when playback draws
// the next frame. Needs no platform.
#pragma once

#include "animation/Animation.h"

#include <cstddef>
#include <deque>
#include <string>

class Timeline {
  public:
    Animation animation;
    int playhead = 0;

    // Moves the playhead, kept within the frames.
    void moveTo(int frame);
    // The frame of the key before / after the playhead, or the playhead.
    int previousKeyFrame() const;
    int nextKeyFrame() const;
    int lastFrame() const { return animation.settings().length - 1; }

    // Undo keeps the animation and playhead from before each change.
    struct State {
        Animation animation;
        int playhead;
    };
    State state() const { return {animation, playhead}; }
    // One step for the change since `before`; none when nothing changed.
    bool record(const State& before);
    bool undo();
    bool redo();
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }

    // "1.20 s   frame 30 of 100".
    std::string statusLine() const;
    static std::string secondsText(int frame, int fps);

  private:
    static bool move(std::deque<State>& from, std::deque<State>& to, Timeline& timeline);

    // Each step may hold a long animation: keep fewer than the pose history.
    static constexpr std::size_t Limit = 200;
    std::deque<State> undo_;
    std::deque<State> redo_;
};

// Frames on a ruler `width` pixels wide with `margin` pixels at each end.
struct RulerScale {
    int width;
    int margin;
    int length; // frames

    int frameX(int frame) const;
    // The nearest frame to `x`, within the frames.
    int frameAt(int x) const;
};

// Playback from a frame at the frame rate, looping: frame i is due i frame
// periods after the start, and each frame is drawn, none skipped.
class PlaybackClock {
  public:
    void start(int frame, int fps, int length, long long nowMicroseconds);
    // The frame to draw now, or -1 when the next one is not yet due.
    int frameDue(long long nowMicroseconds);
    // When the frame returned last was due.
    long long lastDue() const { return due(drawn_ - 1); }

  private:
    long long due(long long index) const;

    int first_ = 0;
    int fps_ = 25;
    int length_ = 1;
    long long start_ = 0;
    long long drawn_ = 0; // frames drawn since the start
};
