#include "animrender/VideoJob.h"

#include "animrender/Assembly.h"
#include "render/ChildStart.h"
#include "render/Povray.h"
#include "render/Quoting.h"

#include <filesystem>
#include <windows.h>

namespace fs = std::filesystem;

namespace {

const char* const logName = "ffmpeg.log";

double now() {
    return double(GetTickCount64()) / 1000;
}

} // namespace

VideoJob::VideoJob() {
    job_ = childJob();
}

VideoJob::~VideoJob() {
    cancel();
    if (job_) CloseHandle(job_);
}

bool VideoJob::link(const std::string& from, const std::string& name) {
    std::error_code code;
    fs::path to = fs::u8path(work_) / name;
    // A link where the disk allows one (the frames are beside the work
    // folder; the sound may be on another disk).
    fs::create_hard_link(fs::u8path(from), to, code);
    if (code) fs::copy_file(fs::u8path(from), to, code);
    if (!code) return true;
    error = "Cannot put " + from + " into " + work_ + ":\n" + code.message();
    return false;
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
    program_ = ffmpeg;
    bool linked = sound.empty() || link(sound, SoundInput);
    for (std::size_t i = 0; linked && i < frames.size(); ++i)
        linked = link(frames[i], assemblyInput("video", int(i)));
    if (!linked) {
        finish();
        return false;
    }
    std::vector<std::string> args =
        videoArgs(ffmpeg, fps, int(frames.size()), {!sound.empty(), soundStart});
    // Generous: a large frame encodes in well under a second.
    deadline_ = now() + 60 + 2.0 * double(frames.size());
    exitCode_ = -1;
    throughShell_ = underWine() && !isWindowsProgram(ffmpeg);
    bool started;
    if (throughShell_) {
        // Below the editor's priority: it stays responsive meanwhile.
        started = shell_.start(args, work_, "ffmpeg", logName, true);
    } else {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE log = CreateFileW(wideText(work_ + "\\" + logName).c_str(), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        started = startChild(windowsLine(args), work_, log, false, job_, process_) && process_;
        if (log != INVALID_HANDLE_VALUE) CloseHandle(log);
    }
    if (started) return true;
    error = "Cannot start " + ffmpeg;
    finish();
    return false;
}

bool VideoJob::ended() {
    if (exitCode_ >= 0) return true;
    if (throughShell_) {
        if (!shell_.ended()) return false;
        exitCode_ = shell_.exitCode;
        return true;
    }
    if (!process_ || WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) return false;
    DWORD code = 1;
    GetExitCodeProcess(process_, &code);
    exitCode_ = int(code);
    return true;
}

VideoJob::State VideoJob::poll() {
    if (work_.empty()) return error.empty() ? Done : Failed;
    if (!ended()) {
        if (now() < deadline_) return Running;
        error = program_ + " made no video before its deadline";
        cancel();
        return Failed;
    }
    std::string log = errorLines(childFileText(work_ + "\\" + logName), 6);
    if (exitCode_ == 127)
        error = "Cannot run " + program_ + ":\n" + log;
    else if (exitCode_ != 0)
        error = program_ + " failed (exit code " + std::to_string(exitCode_) + "):\n" + log;
    else if (!MoveFileExW(wideText(work_ + "\\" + VideoOutput).c_str(), wideText(output_).c_str(),
                          MOVEFILE_REPLACE_EXISTING))
        error = "Cannot write " + output_;
    finish();
    return error.empty() ? Done : Failed;
}

void VideoJob::cancel() {
    if (work_.empty()) return;
    if (!ended()) {
        if (throughShell_)
            shell_.kill();
        else
            TerminateProcess(process_, 1);
    }
    for (double deadline = now() + 1; !ended() && now() < deadline;)
        Sleep(10);
    finish();
}

void VideoJob::finish() {
    if (process_) CloseHandle(process_);
    process_ = nullptr;
    folder_.remove();
    work_.clear();
}
