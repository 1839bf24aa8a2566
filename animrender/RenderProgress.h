// How far an animation render has come and how long the rest will take, for
// the progress line and the progress window. Times are seconds on any clock
// that only moves forward. Needs no platform.
#pragma once

#include <string>

class RenderProgress {
  public:
    RenderProgress(int total, double startedAt) : total_(total), startedAt_(startedAt) {}

    void frameDone() { ++done_; }
    int done() const { return done_; }
    int total() const { return total_; }

    double elapsed(double now) const { return now - startedAt_; }
    // The pace so far applied to the frames left; -1 before the first frame
    // tells it.
    double secondsLeft(double now) const;
    // "Frame 12 of 100", then "0:07 elapsed, 0:42 left" (or "..." for the
    // time left while it cannot be told).
    std::string frameText() const;
    std::string timeText(double now) const;

  private:
    int total_;
    int done_ = 0;
    double startedAt_;
};

// "0:07", "12:05", "1:02:03": whole seconds, rounded up so that a render
// never shows 0:00 left while it runs.
std::string clockText(double seconds);
