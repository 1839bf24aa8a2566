// When playback draws the next frame: from a frame at the frame rate,
// looping; frame i is due i frame periods after the start. After a stall
// of more than a frame or two the missed frames are dropped and playback
// goes on in time; following the sound, it keeps the sound's time. Needs
// no platform.
#pragma once

class PlaybackClock {
  public:
    void start(int frame, int fps, int length, long long nowMicroseconds);
    // The frame to draw now, or -1 when the next one is not yet due.
    int frameDue(long long nowMicroseconds);
    // Playback keeps to another clock, the sound's: at `now`, `elapsed`
    // microseconds have passed since the start by that clock.
    void follow(long long now, long long elapsed) { start_ = now - elapsed; }
    // When the frame returned last was due.
    long long lastDue() const { return due(drawn_ - 1); }

  private:
    long long due(long long index) const;

    int first_ = 0;
    int fps_ = 25;
    int length_ = 1;
    long long start_ = 0;
    long long drawn_ = 0; // frames drawn or dropped since the start
};
