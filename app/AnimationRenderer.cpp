#include "app/AnimationRenderer.h"

#include "app/AnimationProgressWindow.h"
#include "app/AnimationSound.h"
#include "app/FaceTables.h"
#include "document/Document.h"
#include "framework/app/vWindow.h"
#include "framework/dialogs/vNoticeDialog.h"
#include "render/ChildStart.h"
#include "render/PovrayRunner.h"
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
    // Found once, as ffmpeg is: under Wine the search asks the Unix shell.
    if (povray_.empty()) povray_ = finder.findPovray();
    render.povray = povray_;
    std::string scene = PovrayRunner::findScene(), problem;
    if (render.povray.empty())
        problem = "No POV-Ray found: install POV-Ray 3.7 (Debian and Ubuntu: apt-get install "
                  "povray) or set POVRAY to the program's path.";
    else if (scene.empty())
        problem = "The sample scene (TavokHead.pov) is missing beside the program.";
    // Before the first frame: a long render must not fail at its end.
    else if (request.video && ffmpeg_.empty() && (ffmpeg_ = finder.findTool("ffmpeg")).empty())
        problem = "No ffmpeg found to make the video: install it (Debian and Ubuntu: apt-get "
                  "install ffmpeg) or put ffmpeg.exe on the PATH.";
    else if (request.video && sound_.has() && !soundReads(problem))
        problem = "The animation's sound cannot be read:\n\n" + sound_.path + ": " + problem;
    else {
        // Made only now: a refused render leaves no empty folder behind.
        CreateDirectoryW(wideText(request.folder).c_str(), nullptr);
        AnimationRenderJob::Outputs outputs;
        outputs.gif = request.gif;
        outputs.video = request.video;
        outputs.fps = fps_;
        outputs.ffmpeg = ffmpeg_;
        outputs.sound = sound_.path;
        // The sound's frames count from the first frame rendered.
        outputs.soundStart = sound_.start - request.first;
        if (!job_.start(animation, render, {request.first, request.last}, 0, scene, request.folder,
                        outputs))
            problem = job_.error;
    }
    if (!problem.empty()) {
        end("Render failed", problem);
        return false;
    }
    rendering_ = true;
    if (!progress_) progress_ = new AnimationProgressWindow(&window_, [this] { cancel(); });
    progress_->showDialog(nullptr);
    progress_->showFrame(RgbImage());
    frameShown_ = 0;
    stageShown_ = AnimationRenderJob::Frames;
    progress_->show(job_.status().progress, now());
    // Four times a second: under Wine each control repaints for tens of
    // milliseconds beside a busy render.
    vTimer::start(250);
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
    AnimationRenderJob::Status status = job_.status();
    if (status.frameCount != frameShown_ && status.frame) {
        frameShown_ = status.frameCount;
        progress_->showFrame(*status.frame);
    }
    if (status.stage == AnimationRenderJob::Frames) progress_->show(status.progress, now());
    const char* making = status.stage == AnimationRenderJob::Gif     ? "Making the GIF..."
                         : status.stage == AnimationRenderJob::Video ? "Making the video..."
                                                                     : nullptr;
    if (making && stageShown_ != status.stage) progress_->showStage(making);
    stageShown_ = status.stage;
    endIfOver(status);
}

bool AnimationRenderer::endIfOver(const AnimationRenderJob::Status& status) {
    if (status.stage == AnimationRenderJob::Failed)
        end(status.failure, status.error);
    else if (status.stage == AnimationRenderJob::Done)
        end(renderedText(status.progress), "");
    else
        return false;
    return true;
}

std::string AnimationRenderer::renderedText(const RenderProgress& progress) const {
    int kept = job_.kept();
    return "Rendered " + std::to_string(progress.total()) + " frames" +
           (request_.video ? " and " + request_.stem + ".mp4" : "") + " into " + request_.folder +
           (kept ? ", " + std::to_string(kept) + " kept" : "");
}

void AnimationRenderer::cancel() {
    if (!rendering_) return;
    job_.cancel();
    // It may have ended, done or failed, since the last tick.
    if (!endIfOver(job_.status())) end("Render cancelled: the complete frames are kept", "");
}

void AnimationRenderer::end(const std::string& text, const std::string& problem) {
    vTimer::stop();
    job_.cancel(); // its thread is over, or ends now
    rendering_ = false;
    if (progress_) progress_->closeDialog();
    outcome = text;
    window_.setString(IdStatusText, text.c_str());
    if (onEnded) onEnded();
    if (!problem.empty()) {
        vNoticeDialog box(&window_, text.c_str());
        box.notice(problem.c_str());
    }
}
