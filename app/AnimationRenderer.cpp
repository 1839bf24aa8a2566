#include "app/AnimationRenderer.h"

#include "animrender/Assembly.h"
#include "animrender/GifEncoder.h"
#include "app/AnimationProgressWindow.h"
#include "app/FaceTables.h"
#include "document/Document.h"
#include "framework/app/vWindow.h"
#include "framework/dialogs/vNoticeDialog.h"
#include "render/PovrayRunner.h"

#include <thread>
#include <windows.h>

namespace {

double now() {
    return double(GetTickCount64()) / 1000;
}

} // namespace

AnimationRenderer::AnimationRenderer(vWindow& window, const Document& document)
    : window_(window), document_(document) {
    char folder[MAX_PATH] = "";
    DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    if (length > 0 && length < sizeof folder) request_.folder = folder;
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
    if (dialog.ask(request_, length)) start(animation, request_);
}

bool AnimationRenderer::start(const Animation& animation, const RenderRequest& request) {
    cancel();
    request_ = request;
    fps_ = animation.settings().fps;
    PovrayRunner finder;
    FrameRender render;
    render.povray = finder.findPovray();
    render.stem = request.stem;
    render.width = request.width;
    render.height = request.height;
    render.antialias = request.antialias;
    CreateDirectoryA(request.folder.c_str(), nullptr);
    int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    std::string scene = PovrayRunner::findScene(), problem;
    if (render.povray.empty())
        problem = "No POV-Ray found: install POV-Ray 3.7 (Debian and Ubuntu: apt-get install "
                  "povray) or set POVRAY to the program's path.";
    else if (scene.empty())
        problem = "The sample scene (TavokHead.pov) is missing beside the program.";
    else if (!jobs_.start(animation, render, {request.first, request.last}, povrayProcesses(cores),
                          scene, request.folder))
        problem = jobs_.error;
    if (!problem.empty()) {
        end("Render failed", problem);
        return false;
    }
    rendering_ = true;
    if (!progress_) progress_ = new AnimationProgressWindow(&window_, [this] { cancel(); });
    progress_->showDialog(nullptr);
    progress_->show(jobs_.progress(), now());
    vTimer::start(100);
    return true;
}

void AnimationRenderer::onTick() {
    FrameJobs::State state = jobs_.poll();
    progress_->show(jobs_.progress(), now());
    if (state == FrameJobs::Failed) return end("Render failed", jobs_.error);
    if (state == FrameJobs::Running) return;
    std::string error;
    std::string gif = request_.folder + "\\" + request_.stem + ".gif";
    GifPlan plan = gifPlan(jobs_.progress().total(), fps_);
    std::vector<std::string> frames = jobs_.framePaths(), shown;
    for (int frame : plan.frames)
        shown.push_back(frames[std::size_t(frame)]);
    if (request_.gif && !writeAnimatedGif(shown, plan.delays, gif, error))
        return end("GIF failed", error);
    end("Rendered " + std::to_string(jobs_.progress().total()) + " frames into " + request_.folder,
        "");
}

void AnimationRenderer::cancel() {
    if (!rendering_) return;
    jobs_.cancel();
    end("Render cancelled: the complete frames are kept", "");
}

void AnimationRenderer::end(const std::string& text, const std::string& problem) {
    vTimer::stop();
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
