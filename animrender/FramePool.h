// The frames still to render, handed to POV-Ray processes a run at a time,
// and how many processes render side by side. POV-Ray's front end waits in
// 100 ms polls, so a process keeps a core busy for a fraction of its time
// only, a small fraction on small frames: the pool starts one process per
// core and adds more while the machine has idle time, never more than a cap
// (each holds its image, some 20 MB at 640 x 480). A process takes a share
// of the frames left that shrinks as they do, so that all end together.
// Needs no platform.
#pragma once

#include "animrender/FramePlan.h"

#include <vector>

class FramePool {
  public:
    // `frames` ascending, on a machine of `cores`; `forced` processes when
    // above 0 (each then takes its one fair share at once).
    FramePool(const std::vector<int>& frames, int cores, int forced = 0);

    // How many processes should render now.
    int processes() const { return processes_; }
    // The next process's frames: runs of consecutive frames it renders one
    // after another; empty once every frame is handed out.
    std::vector<FrameRange> take();
    bool empty() const { return next_ >= frames_.size(); }
    // The share of the machine's processor time that went idle since the
    // last call (0 to 1): more processes while the cores wait.
    void idle(double share);

    // The most processes a machine of `cores` runs.
    static int cap(int cores);
    // How often idle() wants the idle share: often enough to reach the cap
    // within a few seconds, seldom enough to see what a new process does.
    static constexpr double SampleSeconds = 0.5;

  private:
    std::vector<int> frames_;
    std::size_t next_ = 0;
    int processes_;
    int cap_;
    bool fixed_;
    std::vector<std::vector<FrameRange>> shares_; // when fixed, the shares left, last first
};
