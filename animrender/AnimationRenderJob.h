// An animation's whole render for a program with a window: the frames
// (FrameJobs), then the animated GIF, then the video (VideoJob), driven on a
// thread of their own. Starting and watching POV-Rays, moving frames,
// reading the last frame and encoding the GIF never hold up the window,
// which shows status() from a timer. Windows only.
#pragma once

#include "animation/Animation.h"
#include "animrender/FrameJobs.h"
#include "animrender/VideoJob.h"
#include "render/RgbImage.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class AnimationRenderJob {
  public:
    // What follows the frames: the GIF as `render.stem`.gif, the video as
    // `render.stem`.mp4 made by `ffmpeg`, with the sound at `sound` (none
    // when "") starting at frame `soundStart` of the animation.
    struct Outputs {
        bool gif = false;
        bool video = false;
        int fps = 25;
        std::string ffmpeg;
        std::string sound;
        int soundStart = 0;
    };
    enum Stage { Frames, Gif, Video, Done, Failed, Cancelled };
    struct Status {
        Stage stage = Done;
        RenderProgress progress{0, 0};
        // The last frame rendered, read at most twice a second and shrunk
        // to about the size shown; `frameCount` grows with each new one.
        std::shared_ptr<const RgbImage> frame;
        int frameCount = 0;
        // When Failed: what failed ("Render failed", "GIF failed", "Video
        // failed") and why.
        std::string failure;
        std::string error;
    };

    AnimationRenderJob() = default;
    ~AnimationRenderJob();
    AnimationRenderJob(const AnimationRenderJob&) = delete;
    AnimationRenderJob& operator=(const AnimationRenderJob&) = delete;

    // Starts as FrameJobs::start does, then goes on by itself; false, and
    // `error` says why, when it cannot start.
    bool start(const Animation& animation, FrameRender render, FrameRange frames, int jobs,
               const std::string& sceneDir, const std::string& outDir, const Outputs& outputs);
    Status status() const;
    // Ends every process (the complete frames stay) and waits for the
    // thread, about a second at most; Cancelled unless it had ended.
    void cancel();

    // How many frames the render kept from an earlier run.
    int kept() const { return frames_.kept(); }
    std::string error;

  private:
    void run();
    // Polls `poll` until it is no longer Running, or the job is cancelled:
    // whether it was.
    template <class Poll> bool pollUntilOver(Poll poll);
    void publish(Stage stage, const std::string& failure = "", const std::string& error = "");
    void readLastFrame();

    FrameJobs frames_;
    VideoJob video_;
    Outputs outputs_;
    FrameRender render_;
    std::string outDir_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_; // guards status_, and the wait for stop_
    std::condition_variable stopped_;
    Status status_;
    std::string frameRead_;
    double frameReadAt_ = 0;
};
