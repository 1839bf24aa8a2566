#include "animrender/VideoJob.h"

#include "animrender/Assembly.h"
#include "render/ChildStart.h"
#include "render/Povray.h"

#include <filesystem>
#include <windows.h>

namespace fs = std::filesystem;

namespace {

const char* const logName = "ffmpeg.log";

double now() {
    return double(GetTickCount64()) / 1000;
}

} // namespace

VideoJob::~VideoJob() {
    cancel();
}

void VideoJob::link(const std::vector<std::string>& sources, const std::vector<std::string>& names,
                    const std::string& work) {
    for (std::size_t i = 0; i < sources.size() && !stopLinking_; ++i) {
        std::error_code code;
        fs::path to = fs::u8path(work) / names[i];
        // A link where the disk allows one (the frames are beside the work
        // folder; the sound may be on another disk). ffmpeg reads none of
        // them before the last is complete.
        fs::create_hard_link(fs::u8path(sources[i]), to, code);
        if (code) fs::copy_file(fs::u8path(sources[i]), to, code);
        if (!code) continue;
        linkError_ = "Cannot put " + sources[i] + " into " + work + ":\n" + code.message();
        break;
    }
    linked_ = true;
}

bool VideoJob::start(const std::string& ffmpeg, const std::vector<std::string>& frames, int fps,
                     const std::string& sound, int soundStart, const std::string& outDir,
                     const std::string& stem) {
    cancel();
    error.clear();
    std::string notice;
    if (!folder_.take(outDir, stem, "TavokFace's Render animation", error, notice)) return false;
    work_ = folder_.path();
    output_ = outDir + "\\" + stem + ".mp4";
    frames_ = int(frames.size());
    args_ = videoArgs(ffmpeg, fps, int(frames.size()), {!sound.empty(), soundStart});
    std::vector<std::string> sources = frames, names;
    for (std::size_t i = 0; i < frames.size(); ++i)
        names.push_back(assemblyInput("video", int(i)));
    if (!sound.empty()) sources.push_back(sound), names.push_back(SoundInput);
    linkError_.clear();
    linked_ = false;
    stopLinking_ = false;
    linking_ = std::thread(&VideoJob::link, this, sources, names, work_);
    return true;
}

void VideoJob::startFfmpeg() {
    // Generous: a large frame encodes in well under a second.
    deadline_ = now() + 60 + 2.0 * double(frames_);
    // Below the editor's priority: it stays responsive meanwhile.
    if (!ffmpeg_.start(args_, work_, logName, true)) error = "Cannot start " + args_[0];
}

VideoJob::State VideoJob::poll() {
    if (work_.empty()) return error.empty() ? Done : Failed;
    if (linking_.joinable()) {
        if (!linked_) return Running;
        linking_.join();
        error = linkError_;
        if (error.empty()) startFfmpeg();
        if (error.empty()) return Running;
        finish();
        return Failed;
    }
    const std::string& program = args_[0];
    if (!ffmpeg_.ended()) {
        if (now() < deadline_) return Running;
        error = program + " made no video before its deadline";
        cancel();
        return Failed;
    }
    std::string log = errorLines(childFileText(work_ + "\\" + logName), 6);
    if (ffmpeg_.exitCode == 127)
        error = "Cannot run " + program + ":\n" + log;
    else if (ffmpeg_.exitCode != 0)
        error = program + " failed (exit code " + std::to_string(ffmpeg_.exitCode) + "):\n" + log;
    else if (!MoveFileExW(wideText(work_ + "\\" + VideoOutput).c_str(), wideText(output_).c_str(),
                          MOVEFILE_REPLACE_EXISTING))
        error = "Cannot write " + output_;
    finish();
    return error.empty() ? Done : Failed;
}

void VideoJob::cancel() {
    if (work_.empty()) return;
    // ffmpeg starts once the linking is over and joined.
    if (!linking_.joinable()) {
        ffmpeg_.kill();
        ffmpeg_.waitEnded(1);
    }
    finish();
}

void VideoJob::finish() {
    // A link or copy under way ends first: the folder goes next.
    stopLinking_ = true;
    if (linking_.joinable()) linking_.join();
    folder_.remove();
    work_.clear();
}
