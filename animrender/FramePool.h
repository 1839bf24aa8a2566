// The frames still to render, handed to POV-Ray processes a run at a time,
// and how many processes render side by side. POV-Ray's front end waits in
// 100 ms polls, so a process keeps a core busy for a fraction of its time
// only, a third at 160 x 120: the pool starts half the processes its cap
// allows and adds more while the machine has idle time, up to the cap (each
// holds its image, some 20 MB at 640 x 480). Small frames start at the cap:
// they need it, their processes hold little, and the seconds of filling up
// would be a tenth of such a render. The frames are shared out
// once, as if every process the cap allows ran: each share costs a POV-Ray
// start (a twentieth of a second of processor time, as much as half a
// small frame), so there are no more of them than that. Needs no platform.
#pragma once

#include "animrender/FramePlan.h"

#include <vector>

class FramePool {
  public:
    // `frames` ascending, of `pixels` each, on a machine of `cores`;
    // `forced` processes when above 0, each taking its one fair share.
    FramePool(const std::vector<int>& frames, int cores, int forced = 0, long pixels = 0);

    // How many processes should render now.
    int processes() const { return processes_; }
    // The next process's frames: runs of consecutive frames it renders one
    // after another; empty once every frame is handed out.
    std::vector<FrameRange> take();
    bool empty() const { return shares_.empty(); }
    // The share of the machine's processor time that went idle since the
    // last call (0 to 1): more processes while the cores wait.
    void idle(double share);

    // The most processes a machine of `cores` runs.
    static int cap(int cores);
    // How often idle() wants the idle share: often enough to reach the cap
    // within a few seconds, seldom enough to see what a new process does.
    static constexpr double SampleSeconds = 0.5;
    // The most pixels a frame that starts at the cap has.
    static constexpr long SmallFrame = 320 * 240;

  private:
    int processes_;
    int cap_;
    bool fixed_;
    std::vector<std::vector<FrameRange>> shares_; // those left, last first
};
