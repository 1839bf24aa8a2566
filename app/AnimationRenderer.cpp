#include "app/AnimationRenderer.h"

#include "animrender/Assembly.h"
#include "animrender/GifEncoder.h"
#include "app/AnimationProgressWindow.h"
#include "app/AnimationSound.h"
#include "app/FaceTables.h"
#include "document/Document.h"
#include "framework/app/vWindow.h"
#include "framework/dialogs/vNoticeDialog.h"
#include "render/ChildStart.h"
#include "render/PovrayRunner.h"
#include "render/WicImage.h"
#include "sound/SoundFileReader.h"

#include <windows.h>

namespace {

double now() {
    return double(GetTickCount64()) / 1000;
}

FrameRender frameRender(const RenderRequest& request) {
    FrameRender render;
    render.stem = request.stem;
    render.width = request.width;
    render.height = request.height;
    render.antialias = request.antialias;
    return render;
}

} // namespace

AnimationRenderer::AnimationRenderer(vWindow& window, const Document& document)
    : window_(window), document_(document) {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(DWORD(folder.size()), &folder[0]));
    request_.folder = utf8Text(folder);
}

AnimationRenderer::~AnimationRenderer() {
    cancel();
    delete progress_;
}

void AnimationRenderer::ask() {
    if (rendering_) return;
    const Animation& animation = document_.animation();
    int length = animation.settings().length;
    // Every frame of an animation not rendered before.
    if (length != lengthAsked_ || request_.last >= length) {
        lengthAsked_ = length;
        request_.first = 0;
        request_.last = length - 1;
    }
    RenderAnimationDialog dialog(&window_);
    auto kept = [&](const RenderRequest& request) {
        return FrameJobs::keptFrames(animation, frameRender(request), {request.first, request.last},
                                     request.folder);
    };
    if (dialog.ask(request_, length, kept)) start(animation, request_);
}

bool AnimationRenderer::start(const Animation& animation, const RenderRequest& request) {
    cancel();
    request_ = request;
    fps_ = animation.settings().fps;
    sound_ = animation.sound();
    PovrayRunner finder;
    FrameRender render = frameRender(request);
    render.povray = finder.findPovray();
    std::string scene = PovrayRunner::findScene(), problem;
    if (render.povray.empty())
        problem = "No POV-Ray found: install POV-Ray 3.7 (Debian and Ubuntu: apt-get install "
                  "povray) or set POVRAY to the program's path.";
    else if (scene.empty())
        problem = "The sample scene (TavokHead.pov) is missing beside the program.";
    // Before the first frame: a long render must not fail at its end. Found
    // once: under Wine the search asks the Unix shell.
    else if (request.video && ffmpeg_.empty() && (ffmpeg_ = finder.findTool("ffmpeg")).empty())
        problem = "No ffmpeg found to make the video: install it (Debian and Ubuntu: apt-get "
                  "install ffmpeg) or put ffmpeg.exe on the PATH.";
    else if (request.video && sound_.has() && !soundReads(problem))
        problem = "The animation's sound cannot be read:\n\n" + sound_.path + ": " + problem;
    else {
        // Made only now: a refused render leaves no empty folder behind.
        CreateDirectoryW(wideText(request.folder).c_str(), nullptr);
        if (!jobs_.start(animation, render, {request.first, request.last}, 0, scene,
                         request.folder))
            problem = jobs_.error;
    }
    if (!problem.empty()) {
        end("Render failed", problem);
        return false;
    }
    rendering_ = true;
    if (!progress_) progress_ = new AnimationProgressWindow(&window_, [this] { cancel(); });
    progress_->showDialog(nullptr);
    progress_->showFrame(RgbImage());
    frameShown_.clear();
    progress_->show(jobs_.progress(), now());
    vTimer::start(100);
    return true;
}

bool AnimationRenderer::soundReads(std::string& error) const {
    if (heldSound && heldSound->holds(sound_.path)) return true;
    HCURSOR cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    SoundClip clip;
    SoundFileReader reader;
    bool read = reader.read(wideText(sound_.path), clip);
    SetCursor(cursor);
    error = reader.error();
    return read;
}

void AnimationRenderer::onTick() {
    if (makingVideo_) return pollVideo();
    FrameJobs::State state = jobs_.poll();
    progress_->show(jobs_.progress(), now());
    showLastFrame();
    if (state == FrameJobs::Failed) return end("Render failed", jobs_.error);
    if (state == FrameJobs::Running) return;
    std::string error;
    std::string gif = request_.folder + "\\" + request_.stem + ".gif";
    std::vector<std::string> frames = jobs_.framePaths(), shown;
    GifPlan plan = gifPlan(int(frames.size()), fps_);
    for (int frame : plan.frames)
        shown.push_back(frames[std::size_t(frame)]);
    if (request_.gif && !writeAnimatedGif(shown, plan.delays, gif, error))
        return end("GIF failed", error);
    if (!request_.video) return end(renderedText(), "");
    makingVideo_ = true;
    progress_->setString(AnimationProgressWindow::IdFrameText, "Making the video...");
    // The sound's frames count from the first frame rendered.
    if (!video_.start(ffmpeg_, frames, fps_, sound_.path, sound_.start - request_.first,
                      request_.folder, request_.stem))
        end("Video failed", video_.error);
}

void AnimationRenderer::pollVideo() {
    VideoJob::State state = video_.poll();
    if (state == VideoJob::Failed) return end("Video failed", video_.error);
    if (state == VideoJob::Done) end(renderedText(), "");
}

std::string AnimationRenderer::renderedText() const {
    int kept = jobs_.kept();
    return "Rendered " + std::to_string(jobs_.progress().total()) + " frames" +
           (request_.video ? " and " + request_.stem + ".mp4" : "") + " into " + request_.folder +
           (kept ? ", " + std::to_string(kept) + " kept" : "");
}

void AnimationRenderer::showLastFrame() {
    if (jobs_.lastFrame() == frameShown_ || now() - frameShownAt_ < 0.5) return;
    frameShown_ = jobs_.lastFrame();
    frameShownAt_ = now();
    RgbImage frame;
    if (WicImage::read(frameShown_, frame)) progress_->showFrame(frame);
}

void AnimationRenderer::cancel() {
    if (!rendering_) return;
    jobs_.cancel();
    video_.cancel();
    end("Render cancelled: the complete frames are kept", "");
}

void AnimationRenderer::end(const std::string& text, const std::string& problem) {
    vTimer::stop();
    rendering_ = false;
    makingVideo_ = false;
    if (progress_) progress_->closeDialog();
    outcome = text;
    window_.setString(IdStatusText, text.c_str());
    if (onEnded) onEnded();
    if (!problem.empty()) {
        vNoticeDialog box(&window_, text.c_str());
        box.notice(problem.c_str());
    }
}
