#include "animrender/FrameJobs.h"

#include "animation/AnimationExport.h"
#include "animrender/FrameStamp.h"
#include "face/PoseFile.h"
#include "render/ChildStart.h"
#include "render/Povray.h"

#include <cstdio>
#include <cstdlib>
#include <windows.h>

namespace {

double now() {
    return double(GetTickCount64()) / 1000;
}

std::string contents(const std::string& path) {
    std::string text;
    if (std::FILE* in = _wfopen(wideText(path).c_str(), L"rb")) {
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
            text.append(buffer, got);
        std::fclose(in);
    }
    return text;
}

// `count` bytes of `path` from `at` (from the end when negative), or fewer.
std::string part(const std::string& path, long long at, std::size_t count) {
    std::string bytes;
    HANDLE file = CreateFileW(wideText(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size = {}, from = {};
    from.QuadPart = at;
    if (GetFileSizeEx(file, &size) && at < 0) from.QuadPart += size.QuadPart;
    DWORD got = 0;
    bytes.resize(count);
    if (from.QuadPart < 0 || !SetFilePointerEx(file, from, nullptr, FILE_BEGIN) ||
        !ReadFile(file, &bytes[0], DWORD(count), &got, nullptr))
        got = 0;
    bytes.resize(got);
    CloseHandle(file);
    return bytes;
}

} // namespace

FrameJobs::FrameJobs() = default;

FrameJobs::~FrameJobs() {
    cancel();
}

std::string FrameJobs::file(const char* kind, std::size_t index) const {
    return std::string("povray-") + std::to_string(index) + "." + kind;
}

bool FrameJobs::start(const Animation& animation, FrameRender render, FrameRange frames, int jobs,
                      const std::string& sceneDir, const std::string& outDir) {
    cancel();
    error.clear();
    render.lastFrame = animation.settings().length - 1;
    render_ = render;
    frames_ = frames;
    outDir_ = outDir;
    lastFrame_.clear();
    program_ = render.povray;
    std::string include = animationInclude(animation, PoseModel().pose);
    stamp_ = renderStamp(include, render);
    std::vector<int> missing = framesToRender(outDir, render, frames, stamp_);
    kept_ = frames.count() - int(missing.size());
    progress_ = RenderProgress(int(missing.size()), now());
    notice.clear();
    if (!folder_.take(outDir, render.stem, "TavokFace's Render animation", error, notice))
        return false;
    work_ = folder_.path();
    bool made = true;
    for (const char* name : {"TavokHead.pov", "TavokHead.inc"})
        made = made && CopyFileW(wideText(sceneDir + "\\" + name).c_str(),
                                 wideText(work_ + "\\" + name).c_str(), FALSE);
    std::FILE* out = made ? _wfopen(wideText(work_ + "\\animation.inc").c_str(), L"wb") : nullptr;
    made = out && !include.empty() &&
           std::fwrite(include.data(), 1, include.size(), out) == include.size();
    made = out && std::fclose(out) == 0 && made;
    if (!made) {
        error = "Cannot copy the sample scene from " + sceneDir + " into " + work_;
        finish();
        return false;
    }
    SYSTEM_INFO system = {};
    GetSystemInfo(&system);
    pool_ = std::make_unique<FramePool>(missing, int(system.dwNumberOfProcessors), jobs,
                                        long(render.width) * render.height);
    meter_ = IdleMeter();
    sampledAt_ = now();
    active_ = 0;
    if (startJobs()) return true;
    cancel();
    return false;
}

bool FrameJobs::startJobs() {
    // Under Wine a start (of the Unix shell) takes a tenth of a second or
    // more: a few a poll, so that the frames done meanwhile still move.
    for (int started = 0; filling() && started < 2; ++active_, ++started) {
        Job job;
        job.runs = pool_->take();
        job.range = job.runs[0];
        job.next = job.range.first;
        job.lastFrameAt = now();
        jobs_.push_back(std::move(job));
        if (!startJob(jobs_.back(), jobs_.size() - 1)) {
            error = "Cannot start " + program_;
            return false;
        }
    }
    return true;
}

bool FrameJobs::filling() const {
    return pool_ && active_ < pool_->processes() && !pool_->empty();
}

bool FrameJobs::startJob(Job& job, std::size_t index) {
    // Below the editor's priority: it stays responsive beside them.
    return job.povray.start(povrayFrameArgs(render_, job.range, file("log", index)), work_,
                            file("log", index), true);
}

bool FrameJobs::startNextRun(Job& job, std::size_t index) {
    if (job.povray.exitCode != 0 || job.next <= job.range.last || job.run + 1 >= job.runs.size())
        return false;
    job.range = job.runs[++job.run];
    job.next = job.range.first;
    job.lastFrameAt = now();
    if (startJob(job, index)) return true;
    error = "Cannot start " + program_;
    return false;
}

int FrameJobs::keptFrames(const Animation& animation, FrameRender render, FrameRange frames,
                          const std::string& outDir) {
    render.lastFrame = animation.settings().length - 1;
    std::string stamp = renderStamp(animationInclude(animation, PoseModel().pose), render);
    return frames.count() - int(framesToRender(outDir, render, frames, stamp).size());
}

int FrameJobs::collect(Job& job) {
    int moved = 0;
    for (; job.next <= job.range.last; ++job.next, ++moved) {
        std::string from = work_ + "\\" + frameFileName(PovrayStem, job.next, render_.lastFrame);
        if (!endsPng(part(from, -long(PngEndSize), PngEndSize))) break;
        std::string to = outDir_ + "\\" + frameFileName(render_.stem, job.next, render_.lastFrame);
        if (!deliverFrame(from, to, stamp_, error)) return -1;
        lastFrame_ = to;
        progress_.frameDone();
    }
    return moved;
}

FrameJobs::State FrameJobs::poll() {
    if (work_.empty()) return error.empty() ? Done : Failed;
    if (now() - sampledAt_ >= FramePool::SampleSeconds) {
        pool_->idle(meter_.idleSince());
        sampledAt_ = now();
    }
    if (!startJobs()) {
        cancel();
        return Failed;
    }
    for (std::size_t i = 0; i < jobs_.size(); ++i) {
        Job& job = jobs_[i];
        if (job.done) continue;
        bool over = job.povray.ended();
        if (over && job.povray.exitCode != 0) {
            error = "POV-Ray failed (exit code " + std::to_string(job.povray.exitCode) + "):\n" +
                    errorLines(contents(work_ + "\\" + file("log", i)), 6);
        } else if (int moved = collect(job); moved < 0) {
            error = "Cannot move the frames into " + outDir_ + ":\n" + error;
        } else if (over && startNextRun(job, i)) {
            over = false;
        } else if (over && error.empty() && job.next <= job.range.last) {
            error = "POV-Ray wrote no complete image for frame " + std::to_string(job.next) +
                    ":\n" + errorLines(contents(work_ + "\\" + file("log", i)), 6);
        } else if (moved > 0) {
            job.lastFrameAt = now();
        } else if (!over && now() - job.lastFrameAt > FrameSeconds) {
            // POV-Ray for Windows left open, or a render that hangs.
            error = "POV-Ray rendered no frame in " + std::to_string(FrameSeconds) + " s";
        }
        if (!error.empty()) {
            cancel();
            return Failed;
        }
        if (over) job.done = true, --active_;
    }
    if (active_ > 0 || !pool_->empty()) return Running;
    finish();
    return Done;
}

void FrameJobs::cancel() {
    std::vector<ChildProgram*> povrays;
    for (Job& job : jobs_)
        povrays.push_back(&job.povray);
    ChildProgram::kill(povrays);
    // Every one ended, or a second.
    double deadline = now() + 1;
    for (Job& job : jobs_) {
        job.povray.waitEnded(deadline - now());
        collect(job);
    }
    finish();
}

void FrameJobs::finish() {
    jobs_.clear();
    folder_.remove();
    work_.clear();
}

std::vector<std::string> FrameJobs::framePaths() const {
    std::vector<std::string> paths;
    for (int frame = frames_.first; frame <= frames_.last; ++frame)
        paths.push_back(outDir_ + "\\" + frameFileName(render_.stem, frame, render_.lastFrame));
    return paths;
}
