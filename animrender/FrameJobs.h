// Renders the frames of an animation with several POV-Ray processes side by
// side: start, then poll (from AnimationRenderJob's thread, off the window's)
// while it runs. Each process renders its own run of consecutive frames on
// one thread, under a fixed name of ours, in a work folder inside the output
// folder that one run holds at a time; a frame moves beside the others,
// taking the user's name, once its PNG is complete, so a cancelled render
// leaves complete frames and nothing else. No POV-Ray outlives this program
// (see ChildProgram).
#pragma once

#include "animation/Animation.h"
#include "animrender/FramePlan.h"
#include "animrender/FramePool.h"
#include "animrender/IdleMeter.h"
#include "animrender/RenderProgress.h"
#include "animrender/WorkFolder.h"
#include "render/ChildProgram.h"

#include <memory>
#include <string>
#include <vector>

class FrameJobs {
  public:
    enum State { Running, Done, Failed };

    FrameJobs();
    ~FrameJobs();
    FrameJobs(const FrameJobs&) = delete;
    FrameJobs& operator=(const FrameJobs&) = delete;

    // Starts rendering `frames` of `animation` as `render` says (its
    // lastFrame is set here) with `jobs` processes, or with as many as keep
    // the cores busy when `jobs` is 0 (see FramePool); `sceneDir` holds
    // TavokHead.pov and TavokHead.inc. Frames an earlier run of the same
    // animation and settings left in `outDir` are kept. False, and `error`
    // says why, when it cannot start.
    bool start(const Animation& animation, FrameRender render, FrameRange frames, int jobs,
               const std::string& sceneDir, const std::string& outDir);
    // Moves the frames completed since the last call; Done once every frame
    // is there, Failed (and `error`) when a process failed.
    State poll();
    // Ends every process, waits for them (about a second at most) and removes
    // the work folder.
    void cancel();

    // How many frames of `frames` in `outDir` start() would keep.
    static int keptFrames(const Animation& animation, FrameRender render, FrameRange frames,
                          const std::string& outDir);

    // The frames still to render: those not kept.
    const RenderProgress& progress() const { return progress_; }
    int kept() const { return kept_; }
    // Whether the pool wants processes that have not started yet: poll()
    // starts a few at a time.
    bool filling() const;
    // The path of the frame completed last, or "".
    const std::string& lastFrame() const { return lastFrame_; }
    // The frames `frames` of start(), in order.
    std::vector<std::string> framePaths() const;

    std::string error;
    // What start() found to say: an earlier run's left-overs removed.
    std::string notice;

  private:
    struct Job {
        std::vector<FrameRange> runs; // one POV-Ray each, one after another
        std::size_t run = 0;
        FrameRange range;       // runs[run]
        int next = 0;           // the first frame not yet moved
        double lastFrameAt = 0; // when it started, or moved its last frame
        ChildProgram povray;
        bool done = false; // every run rendered
    };
    // Starts processes while the pool wants more; false (and `error`) when
    // one cannot start.
    bool startJobs();
    bool startJob(Job& job, std::size_t index);
    // Starts the job's next run once its POV-Ray has ended well; false when
    // there is none, or it cannot start (`error`).
    bool startNextRun(Job& job, std::size_t index);
    int collect(Job& job);
    std::string file(const char* kind, std::size_t index) const;
    void finish();

    std::string program_;
    WorkFolder folder_;
    std::string work_; // folder_'s path
    std::string outDir_;
    FrameRender render_;
    FrameRange frames_;
    std::vector<Job> jobs_;
    std::unique_ptr<FramePool> pool_;
    IdleMeter meter_;
    double sampledAt_ = 0;
    int active_ = 0; // jobs not done
    RenderProgress progress_{0, 0};
    std::string stamp_;
    int kept_ = 0;
    std::string lastFrame_;
};
