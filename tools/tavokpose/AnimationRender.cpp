#include "tools/tavokpose/AnimationRender.h"

#include "animation/AnimationExport.h"
#include "animrender/Assembly.h"
#include "animrender/RenderProgress.h"
#include "face/PoseFile.h"
#include "render/Povray.h"
#include "tools/tavokpose/ChildProcess.h"
#include "tools/tavokpose/PovRender.h"
#include "tools/tavokpose/Process.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string logTail(const fs::path& log) {
    std::ifstream in(log, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return errorLines(text.str(), 6);
}

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
#ifdef _WIN32
    const char separator = ';';
    const std::string name = program + ".exe";
#else
    const char separator = ':';
    const std::string& name = program;
#endif
    std::stringstream folders(path ? path : "");
    std::error_code code;
    for (std::string folder; std::getline(folders, folder, separator);)
        if (!folder.empty() && fs::is_regular_file(fs::path(folder) / name, code)) return true;
    return false;
}

} // namespace

struct AnimationRender::Job {
    FrameRange range;
    int next = 0; // the first frame not yet moved out
    double lastFrameAt = 0;
    ChildProcess process;
};

AnimationRender::AnimationRender(Options options, std::ostream& out)
    : options_(std::move(options)), out_(out) {}

std::string AnimationRender::prepare(const Animation& animation, const std::string& sceneDir,
                                     const std::string& outDir, const std::string& stem,
                                     std::string& error) {
    fs::path work = fs::path(outDir) / workFolderName(stem);
    std::error_code code;
    fs::remove_all(work, code);
    fs::create_directories(work, code);
    for (const char* file : {"TavokHead.pov", "TavokHead.inc"})
        if (!code) fs::copy_file(fs::path(sceneDir) / file, work / file, code);
    if (code) {
        error = "cannot prepare " + work.string() + ": " + code.message() +
                " (TAVOK_SCENE_DIR names the folder of TavokHead.pov)";
        fs::remove_all(work, code);
        return {};
    }
    if (writeAnimationIncludeFile(animation, PoseModel().pose,
                                  (work / "animation.inc").string().c_str()) != PoseFileOk) {
        error = "cannot write " + (work / "animation.inc").string();
        fs::remove_all(work, code);
        return {};
    }
    return work.string();
}

AnimationRender::Result AnimationRender::run(const Animation& animation) {
    std::error_code code;
    options_.outDir = fs::absolute(options_.outDir, code).string();
    for (std::string* file : {&options_.gif, &options_.video})
        if (!file->empty()) *file = fs::absolute(*file, code).string();
    for (const auto& [file, program] :
         {std::pair{options_.gif, "convert"}, std::pair{options_.video, "ffmpeg"}})
        if (!file.empty() && !onPath(program)) {
            error = missingProgramText(program);
            return Failed;
        }
    int lastFrame = animation.settings().length - 1;
    options_.render.lastFrame = lastFrame;
    std::string work =
        prepare(animation, options_.sceneDir, options_.outDir, options_.render.stem, error);
    if (work.empty()) return Failed;
    Result result = render(work, lastFrame);
    if (result == Done && !assemble(work, lastFrame, animation.settings().fps)) result = Failed;
    fs::remove_all(work, code);
    return result;
}

AnimationRender::Result AnimationRender::render(const std::string& work, int lastFrame) {
    std::vector<std::unique_ptr<Job>> jobs;
    double start = now();
    for (FrameRange range : splitFrames({0, lastFrame}, options_.jobs)) {
        jobs.push_back(std::make_unique<Job>());
        Job& job = *jobs.back();
        job.range = range;
        job.next = range.first;
        job.lastFrameAt = start;
        std::string log = "povray-" + std::to_string(jobs.size()) + ".log";
        if (!job.process.start(povrayFrameArgs(options_.render, range), work, log)) {
            error = "cannot start povray";
            return Failed;
        }
    }
    RenderProgress progress(lastFrame + 1, start);
    // Ending, the jobs' processes are ended with everything they started.
    for (bool running = true; running;) {
        if (interrupted()) {
            error = "interrupted; the frames rendered so far are kept";
            return Interrupted;
        }
        running = false;
        int before = progress.done();
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            Job& job = *jobs[i];
            bool ended = !job.process.running();
            fs::path log = fs::path(work) / ("povray-" + std::to_string(i + 1) + ".log");
            if (ended && job.process.exitCode == 127) {
                error = "cannot run \"" + options_.render.povray +
                        "\": POV-Ray 3.7 is needed. Install it (Debian and Ubuntu: apt-get "
                        "install povray) or set POVRAY to the program's path.";
                return Failed;
            }
            if (ended && job.process.exitCode != 0) {
                error = "povray failed (exit code " + std::to_string(job.process.exitCode) +
                        "):\n" + logTail(log);
                return Failed;
            }
            int moved = collect(job, work, ended);
            if (moved < 0) return Failed;
            for (int frame = 0; frame < moved; ++frame)
                progress.frameDone();
            if (moved > 0) job.lastFrameAt = now();
            if (ended && job.next <= job.range.last) {
                error = "povray wrote no image for frame " + std::to_string(job.next) + ":\n" +
                        logTail(log);
                return Failed;
            }
            if (!ended && now() - job.lastFrameAt > PovRender::renderSeconds) {
                error = "povray rendered no frame in " + std::to_string(PovRender::renderSeconds) +
                        " s";
                return Failed;
            }
            running = running || !ended;
        }
        if (options_.progress && progress.done() != before)
            out_ << '\r' << progress.frameText() << ", " << progress.timeText(now()) << "   "
                 << std::flush;
        if (running) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (options_.progress) out_ << '\n';
    return Done;
}

int AnimationRender::collect(Job& job, const std::string& work, bool ended) {
    const FrameRender& render = options_.render;
    int moved = 0;
    for (; job.next <= job.range.last; ++job.next, ++moved) {
        std::error_code code;
        fs::path frame = fs::path(work) / frameFileName(render.stem, job.next, render.lastFrame);
        // POV-Ray starts the next frame's image only once this one is closed.
        bool complete =
            ended ||
            (job.next < job.range.last &&
             fs::exists(fs::path(work) / frameFileName(render.stem, job.next + 1, render.lastFrame),
                        code));
        if (!complete || !fs::exists(frame, code)) break;
        fs::rename(frame, fs::path(options_.outDir) / frame.filename(), code);
        if (code) {
            error = "cannot move " + frame.string() + " into " + options_.outDir + ": " +
                    code.message();
            return -1;
        }
    }
    return moved;
}

bool AnimationRender::assemble(const std::string& work, int lastFrame, int fps) {
    if (!options_.gif.empty()) {
        std::vector<std::string> frames;
        for (int frame = 0; frame <= lastFrame; ++frame)
            frames.push_back(
                (fs::path(options_.outDir) / frameFileName(options_.render.stem, frame, lastFrame))
                    .string());
        if (!runTool(gifArgs(frames, fps, options_.gif + ".new"), work, options_.gif)) return false;
    }
    return options_.video.empty() || runTool(videoArgs(options_.outDir, options_.render.stem, 0,
                                                       lastFrame, fps, options_.video + ".new"),
                                             work, options_.video);
}

bool AnimationRender::runTool(const std::vector<std::string>& args, const std::string& work,
                              const std::string& output) {
    ProcessResult result = runProcess(args, work, "assemble.log", PovRender::renderSeconds);
    std::error_code code;
    if (!result.started || result.exitCode == 127) {
        error = missingProgramText(args[0]);
    } else if (result.exitCode != 0) {
        error = args[0] + " failed (exit code " + std::to_string(result.exitCode) + "):\n" +
                logTail(fs::path(work) / "assemble.log");
    } else {
        fs::rename(output + ".new", output, code);
        if (!code) return true;
        error = "cannot write " + output + ": " + code.message();
    }
    fs::remove(output + ".new", code);
    return false;
}
