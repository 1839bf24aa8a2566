#include "animrender/AnimationRenderJob.h"

#include "animrender/Assembly.h"
#include "animrender/GifEncoder.h"
#include "render/WicImage.h"

#include <algorithm>
#include <chrono>
#include <windows.h>

namespace {

double now() {
    return double(GetTickCount64()) / 1000;
}

// Each poll reads a few small files per process, which under Wine the one
// server thread all Wine programs share serves: seldom enough to leave the
// window's calls room, often enough that a frame shows soon after it is
// done. More often while processes are still to start, a few a poll.
constexpr std::chrono::milliseconds pollPeriod{200}, startPeriod{50};

// At least as wide as the progress window shows the last frame.
constexpr int ShownWidth = 200;

} // namespace

AnimationRenderJob::~AnimationRenderJob() {
    cancel();
}

bool AnimationRenderJob::start(const Animation& animation, FrameRender render, FrameRange frames,
                               int jobs, const std::string& sceneDir, const std::string& outDir,
                               const Outputs& outputs) {
    cancel();
    error.clear();
    if (!frames_.start(animation, render, frames, jobs, sceneDir, outDir)) {
        error = frames_.error;
        return false;
    }
    outputs_ = outputs;
    render_ = render;
    outDir_ = outDir;
    frameRead_.clear();
    frameReadAt_ = 0;
    stop_ = false;
    status_ = Status();
    status_.stage = Frames;
    status_.progress = frames_.progress();
    thread_ = std::thread(&AnimationRenderJob::run, this);
    return true;
}

AnimationRenderJob::Status AnimationRenderJob::status() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return status_;
}

void AnimationRenderJob::cancel() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    stopped_.notify_all();
    thread_.join();
}

template <class Poll> bool AnimationRenderJob::pollUntilOver(Poll poll) {
    while (poll()) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (stopped_.wait_for(lock, frames_.filling() ? startPeriod : pollPeriod,
                              [this] { return stop_.load(); }))
            return true;
    }
    return false;
}

void AnimationRenderJob::run() {
    // The window's thread comes first.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    FrameJobs::State frames = FrameJobs::Running;
    bool cancelled = pollUntilOver([&] {
        frames = frames_.poll();
        readLastFrame();
        publish(Frames);
        return frames == FrameJobs::Running;
    });
    if (cancelled) {
        frames_.cancel();
        return publish(Cancelled);
    }
    if (frames == FrameJobs::Failed) return publish(Failed, "Render failed", frames_.error);
    // The last frame, however soon after the one before, shows while the GIF
    // and the video are made.
    frameReadAt_ = 0;
    readLastFrame();
    std::vector<std::string> paths = frames_.framePaths();
    if (outputs_.gif) {
        publish(Gif);
        GifPlan plan = gifPlan(int(paths.size()), outputs_.fps);
        std::vector<std::string> shown;
        for (int frame : plan.frames)
            shown.push_back(paths[std::size_t(frame)]);
        std::string problem;
        if (!writeAnimatedGif(shown, plan.delays, outDir_ + "\\" + render_.stem + ".gif", problem,
                              &stop_))
            return stop_ ? publish(Cancelled) : publish(Failed, "GIF failed", problem);
    }
    if (outputs_.video) {
        publish(Video);
        if (!video_.start(outputs_.ffmpeg, paths, outputs_.fps, outputs_.sound, outputs_.soundStart,
                          outDir_, render_.stem))
            return publish(Failed, "Video failed", video_.error);
        VideoJob::State video = VideoJob::Running;
        if (pollUntilOver([&] { return (video = video_.poll()) == VideoJob::Running; })) {
            video_.cancel();
            return publish(Cancelled);
        }
        if (video == VideoJob::Failed) return publish(Failed, "Video failed", video_.error);
    }
    publish(Done);
}

void AnimationRenderJob::publish(Stage stage, const std::string& failure,
                                 const std::string& error) {
    std::lock_guard<std::mutex> lock(mutex_);
    status_.stage = stage;
    status_.progress = frames_.progress();
    status_.failure = failure;
    status_.error = error;
}

void AnimationRenderJob::readLastFrame() {
    if (frames_.lastFrame() == frameRead_ || now() - frameReadAt_ < 0.5) return;
    frameRead_ = frames_.lastFrame();
    frameReadAt_ = now();
    RgbImage frame;
    if (!WicImage::read(frameRead_, frame)) return;
    // Shown small: a large frame need not cross to the window whole.
    auto small = std::make_shared<RgbImage>(frame.shrunk(std::max(1, frame.width / ShownWidth)));
    std::lock_guard<std::mutex> lock(mutex_);
    status_.frame = std::move(small);
    ++status_.frameCount;
}
