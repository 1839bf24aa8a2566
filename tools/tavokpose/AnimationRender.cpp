#include "tools/tavokpose/AnimationRender.h"
#include "tools/tavokpose/PovRender.h"

#include "animation/AnimationExport.h"
#include "animrender/Assembly.h"
#include "animrender/FramePool.h"
#include "animrender/FrameStamp.h"
#include "animrender/GifTiming.h"
#include "animrender/IdleMeter.h"
#include "animrender/RenderProgress.h"
#include "animrender/WorkFolder.h"
#include "face/PoseFile.h"
#include "render/Povray.h"
#include "tools/tavokpose/ChildProcess.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#ifdef _WIN32
#include "render/ChildStart.h"
#endif

namespace fs = std::filesystem;

namespace {

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string logTail(const fs::path& log) {
    return errorLines(contents(log), 6);
}

// The last bytes of `file`, or fewer.
std::string tail(const fs::path& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    std::streamoff size = in ? std::streamoff(in.tellg()) : 0;
    std::string bytes(std::size_t(std::min<std::streamoff>(size, PngEndSize)), '\0');
    in.seekg(size - std::streamoff(bytes.size()));
    in.read(&bytes[0], std::streamsize(bytes.size()));
    return in ? bytes : std::string();
}

// The full path of `program` on the PATH, or "".
std::string findOnPath(const std::string& program) {
#ifdef _WIN32
    const wchar_t* path = _wgetenv(L"PATH");
    const char separator = ';';
    const std::string name = program + ".exe";
    std::stringstream folders(path ? utf8Text(path) : "");
#else
    const char* path = std::getenv("PATH");
    const char separator = ':';
    const std::string& name = program;
    std::stringstream folders(path ? path : "");
#endif
    std::error_code code;
    for (std::string folder; std::getline(folders, folder, separator);)
        if (!folder.empty() && fs::is_regular_file(fs::u8path(folder) / name, code))
            return (fs::u8path(folder) / name).u8string();
    return {};
}

// ffmpeg on the PATH; under Wine, with no Windows one there, Debian's
// through the Unix shell, as POV-Ray starts.
std::string findFfmpeg() {
    std::string found = findOnPath("ffmpeg");
#ifdef _WIN32
    if (found.empty() && underWine()) return "ffmpeg";
#endif
    return found;
}

std::string missingFfmpegText() {
#ifdef _WIN32
    const char* const sought =
        underWine() ? " (no ffmpeg.exe on the Windows PATH, no ffmpeg on the Unix PATH)"
                    : " (no ffmpeg.exe on the PATH)";
#else
    const char* const sought = "";
#endif
    return missingProgramText("ffmpeg") + sought;
}

const char* const interruptedText = "interrupted; the frames rendered so far are kept";

} // namespace

struct AnimationRender::Job {
    std::vector<FrameRange> runs; // one POV-Ray each, one after another
    std::size_t run = 0;
    FrameRange range; // runs[run]
    int next = 0;     // the first frame not yet moved out
    double lastFrameAt = 0;
    bool done = false; // every run rendered
    ChildProcess process;
};

AnimationRender::AnimationRender(Options options, std::ostream& out)
    : options_(std::move(options)), out_(out) {}

bool AnimationRender::prepare(const Animation& animation, const std::string& sceneDir,
                              const std::string& work, std::string& error) {
    std::error_code code;
    for (const char* file : {"TavokHead.pov", "TavokHead.inc"}) {
        fs::copy_file(fs::u8path(sceneDir) / file, fs::u8path(work) / file, code);
        if (!code) continue;
        error = "cannot copy " + (fs::u8path(sceneDir) / file).u8string() + " into " + work + ": " +
                code.message();
        if (!fs::exists(fs::u8path(sceneDir) / file))
            error += " (TAVOK_SCENE_DIR names the folder of TavokHead.pov)";
        return false;
    }
    std::string include = animationInclude(animation, PoseModel().pose);
    std::ofstream out(fs::u8path(work) / "animation.inc", std::ios::binary);
    out << include;
    out.close();
    if (!include.empty() && out) return true;
    error = "cannot write " + (fs::u8path(work) / "animation.inc").u8string();
    return false;
}

AnimationRender::Result AnimationRender::run(const Animation& animation) {
    std::error_code code;
    options_.outDir = fs::absolute(fs::u8path(options_.outDir), code).u8string();
    for (std::string* file : {&options_.gif, &options_.video})
        if (!file->empty()) *file = fs::absolute(fs::u8path(*file), code).u8string();
    if (!options_.gif.empty() || !options_.video.empty()) {
        ffmpeg_ = findFfmpeg();
        if (ffmpeg_.empty()) {
            error = missingFfmpegText();
            return Failed;
        }
    }
    int lastFrame = animation.settings().length - 1;
    options_.render.lastFrame = lastFrame;
    WorkFolder work;
    std::string notice;
    if (!work.take(options_.outDir, options_.render.stem, "tavokpose animate", error, notice))
        return InUse;
    if (!notice.empty()) out_ << "tavokpose: " << notice << '\n';
    if (!prepare(animation, options_.sceneDir, work.path(), error)) return Failed;
    stamp_ = renderStamp(animationInclude(animation, PoseModel().pose), options_.render);
    std::vector<int> frames =
        framesToRender(options_.outDir, options_.render, {0, lastFrame}, stamp_);
    if (frames.size() < std::size_t(lastFrame + 1))
        out_ << "tavokpose: " << lastFrame + 1 - int(frames.size())
             << " frames rendered before with these settings are kept\n";
    Result result = render(work.path(), frames);
    if (result == Done) result = assemble(work.path(), lastFrame, animation.settings().fps);
    return result;
}

AnimationRender::Result AnimationRender::render(const std::string& work,
                                                const std::vector<int>& frames) {
    std::vector<std::unique_ptr<Job>> jobs;
    double start = now(), sampled = start;
    FramePool pool(frames, options_.cores, options_.jobs,
                   long(options_.render.width) * options_.render.height);
    IdleMeter meter;
    int active = 0;
    RenderProgress progress(int(frames.size()), start);
    bool shown = false;
    // Ending, the jobs' processes are ended with everything they started.
    Result result = Done;
    for (bool running = true; running && result == Done;) {
        for (; result == Done && active < pool.processes() && !pool.empty(); ++active) {
            jobs.push_back(std::make_unique<Job>());
            jobs.back()->runs = pool.take();
            if (!startRun(*jobs.back(), jobs.size(), work)) result = Failed;
        }
        int before = progress.done();
        for (std::size_t i = 0; i < jobs.size() && result == Done; ++i) {
            Job& job = *jobs[i];
            if (job.done) continue;
            bool ended = !job.process.running();
            std::string log =
                (fs::u8path(work) / ("povray-" + std::to_string(i + 1) + ".log")).u8string();
            int moved = collect(job, work);
            for (int frame = 0; frame < moved; ++frame)
                progress.frameDone();
            if (moved > 0) job.lastFrameAt = now();
            bool well = ended && job.process.exitCode == 0 && job.next > job.range.last;
            if (well && job.run + 1 < job.runs.size()) {
                ++job.run;
                if (!startRun(job, i + 1, work)) result = Failed;
                ended = false;
            }
            if (moved < 0 || (result == Done && !(error = problem(job, ended, log)).empty()))
                result = Failed;
            if (ended) job.done = true, --active;
        }
        if (now() - sampled >= FramePool::SampleSeconds) {
            pool.idle(meter.idleSince());
            sampled = now();
        }
        running = active > 0 || !pool.empty();
        if (result == Done && interrupted()) {
            error = interruptedText;
            result = Interrupted;
        }
        if (options_.progress && progress.done() != before) {
            out_ << '\r' << progress.frameText() << ", " << progress.timeText(now()) << "   "
                 << std::flush;
            shown = true;
        }
        if (running && result == Done) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    // The message that follows starts a line of its own.
    if (shown) out_ << '\n';
    return result;
}

bool AnimationRender::startRun(Job& job, std::size_t number, const std::string& work) {
    job.range = job.runs[job.run];
    job.next = job.range.first;
    job.lastFrameAt = now();
    std::string log = "povray-" + std::to_string(number) + ".log";
    if (job.process.start(povrayFrameArgs(options_.render, job.range, log), work, log)) return true;
    error = "cannot start povray";
    return false;
}

std::string AnimationRender::problem(Job& job, bool ended, const std::string& log) const {
    if (ended && job.process.exitCode == 127)
        return "cannot run \"" + options_.render.povray +
               "\": POV-Ray 3.7 is needed. Install it (Debian and Ubuntu: apt-get install povray) "
               "or set POVRAY to the program's path.";
    if (ended && job.process.exitCode != 0)
        return "povray failed (exit code " + std::to_string(job.process.exitCode) + "):\n" +
               logTail(log);
    if (ended && job.next <= job.range.last)
        return "povray wrote no complete image for frame " + std::to_string(job.next) + ":\n" +
               logTail(log);
    if (!ended && now() - job.lastFrameAt > FrameSeconds)
        return "povray rendered no frame in " + std::to_string(FrameSeconds) + " s";
    return {};
}

int AnimationRender::collect(Job& job, const std::string& work) {
    const FrameRender& render = options_.render;
    int moved = 0;
    for (; job.next <= job.range.last; ++job.next, ++moved) {
        fs::path frame =
            fs::u8path(work) / fs::u8path(frameFileName(PovrayStem, job.next, render.lastFrame));
        if (!endsPng(tail(frame))) break;
        fs::path to = fs::u8path(options_.outDir) /
                      fs::u8path(frameFileName(render.stem, job.next, render.lastFrame));
        if (!deliverFrame(frame.u8string(), to.u8string(), stamp_, error)) return -1;
    }
    return moved;
}

bool AnimationRender::link(const std::string& work, const std::string& kind,
                           const std::vector<int>& frames) {
    const FrameRender& render = options_.render;
    for (std::size_t i = 0; i < frames.size(); ++i)
        if (!linkFile((fs::u8path(options_.outDir) /
                       fs::u8path(frameFileName(render.stem, frames[i], render.lastFrame)))
                          .u8string(),
                      work, assemblyInput(kind, int(i))))
            return false;
    return true;
}

bool AnimationRender::linkFile(const std::string& from, const std::string& work,
                               const std::string& name) {
    fs::path to = fs::u8path(work) / name;
    std::error_code code;
    // A link where the disk allows one (the frames are beside the work
    // folder; a sound may be on another disk).
    fs::create_hard_link(fs::u8path(from), to, code);
    if (code) fs::copy_file(fs::u8path(from), to, code);
    if (!code) return true;
    error = "cannot link " + from + " into " + work + ": " + code.message();
    return false;
}

AnimationRender::Result AnimationRender::assemble(const std::string& work, int lastFrame, int fps) {
    if (!options_.gif.empty()) {
        GifPlan plan = gifPlan(lastFrame + 1, fps);
        if (plan.frames.size() != std::size_t(lastFrame + 1))
            out_ << "the GIF shows " << plan.frames.size() << " of the " << lastFrame + 1
                 << " frames at " << plan.fps << " fps: browsers slow faster GIFs down\n";
        if (!link(work, "gif", plan.frames)) return Failed;
        if (Result result =
                runTool(gifArgs(ffmpeg_, plan.fps), work, GifOutput, int(plan.frames.size()));
            result != Done)
            return result;
        // ffmpeg's delays follow its own rounding: ours keep the pace exact.
        fs::path gif = fs::u8path(work) / GifOutput;
        std::string bytes = contents(gif);
        if (!setGifTiming(bytes, plan.delays)) {
            error = "ffmpeg's GIF does not hold one image for each of the " +
                    std::to_string(plan.frames.size()) + " frames";
            return Failed;
        }
        std::ofstream timed(gif, std::ios::binary | std::ios::trunc);
        timed << bytes;
        timed.close();
        if (!timed) {
            error = "cannot write " + gif.u8string() + " (is the disk full?)";
            return Failed;
        }
        if (!deliver(gif.u8string(), options_.gif)) return Failed;
    }
    if (options_.video.empty()) return Done;
    std::vector<int> frames;
    for (int frame = 0; frame <= lastFrame; ++frame)
        frames.push_back(frame);
    if (!link(work, "video", frames)) return Failed;
    VideoSound sound{!options_.sound.empty(), options_.soundStart};
    if (sound.present && !linkFile(options_.sound, work, SoundInput)) return Failed;
    if (Result result = runTool(videoArgs(ffmpeg_, fps, lastFrame + 1, sound), work, VideoOutput,
                                lastFrame + 1);
        result != Done)
        return result;
    return deliver((fs::u8path(work) / VideoOutput).u8string(), options_.video) ? Done : Failed;
}

AnimationRender::Result AnimationRender::runTool(const std::vector<std::string>& args,
                                                 const std::string& work, const char* output,
                                                 int frames) {
    ChildProcess tool;
    if (!tool.start(args, work, "assemble.log")) {
        error = "could not start " + args[0];
        return Failed;
    }
    // A tool that hangs is ended: once what it writes has not grown for a
    // while (ffmpeg reads every frame for a GIF's palette before it writes
    // a byte, hence the share for each frame), and after a time generous
    // for its frames however it goes.
    const double stall = options_.stallSeconds + 0.1 * frames, cap = 120 + 2.0 * frames;
    const double start = now();
    double grewAt = start;
    std::uintmax_t written = 0;
    while (tool.running()) {
        if (interrupted()) {
            tool.end();
            error = interruptedText;
            return Interrupted;
        }
        std::uintmax_t size = 0;
        for (const char* file : {output, "assemble.log"}) {
            std::error_code code;
            std::uintmax_t bytes = fs::file_size(fs::u8path(work) / file, code);
            if (!code) size += bytes;
        }
        if (size != written) written = size, grewAt = now();
        bool stalled = now() - grewAt > stall;
        if (stalled || now() - start > cap) {
            tool.end();
            std::string tail = logTail(fs::u8path(work) / "assemble.log");
            error = args[0] + (stalled ? " wrote nothing for " : " did not finish within ") +
                    std::to_string(std::lround(stalled ? stall : cap)) + " s, so it was ended" +
                    (tail.empty() ? "" : ":\n" + tail);
            return Failed;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (tool.exitCode == 0) return Done;
    std::string log = logTail(fs::u8path(work) / "assemble.log");
    error = tool.exitCode == 127
                ? missingFfmpegText() + ": " + log
                : args[0] + " failed (exit code " + std::to_string(tool.exitCode) + "):\n" + log;
    return Failed;
}

bool AnimationRender::deliver(const std::string& from, const std::string& to) {
    return PovRender::deliver(from, to, error);
}
