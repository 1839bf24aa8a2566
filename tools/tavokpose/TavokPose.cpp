#include "tools/tavokpose/TavokPose.h"

#include "animation/AnimationExport.h"
#include "animation/AnimationFile.h"
#include "animrender/SlurmScript.h"
#include "animrender/WorkFolder.h"
#include "face/PoseFile.h"
#include "render/Quoting.h"
#include "sound/LipSync.h"
#include "sound/MouthTrack.h"
#include "sound/SoundFileReader.h"
#include "tools/tavokpose/ChildProcess.h"
#include "tools/tavokpose/ContactSheet.h"
#include "tools/tavokpose/PoseBlend.h"
#include "tools/tavokpose/PovRender.h"
#include "tools/tavokpose/Process.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

const char* const helpText =
    "Usage: tavokpose COMMAND ...\n"
    "\n"
    "Works with the pose files the TavokFace posing program saves.\n"
    "\n"
    "  check FILE...                     check each pose or animation (*.tfa)\n"
    "                                    file: \"FILE: ok\" or \"FILE:LINE: what\n"
    "                                    is wrong\"\n"
    "  render FILE OUT.png [--size WxH]  render the sample robot head in that pose\n"
    "                                    (320x240 unless given; OUT.ppm for PPM)\n"
    "  sheet DIR OUT.png [--size WxH] [--jobs N]\n"
    "                                    render every pose file (*.txt, *.bas) of a\n"
    "                                    folder onto one labelled contact sheet;\n"
    "                                    tiles 160x120, N renders at once (all cores)\n"
    "  blend A B OUT.inc                 write a POV-Ray include moving from pose A\n"
    "                                    at clock 0 to pose B at clock 1; with the\n"
    "                                    sample scene: povray +ITavokHead.pov\n"
    "                                    Declare=Blend=1 +KFI0 +KFF10\n"
    "  export ANIMATION OUT.inc          write a POV-Ray include of an animation's\n"
    "                                    pose at each frame_number; saved as\n"
    "                                    animation.inc, with the sample scene:\n"
    "                                    povray +ITavokHead.pov Declare=Animation=1\n"
    "                                    +KFI0 +KFF<frames - 1>\n"
    "  animate ANIMATION OUTDIR [--size WxH] [--jobs N] [--gif FILE]\n"
    "          [--video FILE.mp4]        render every frame of an animation into\n"
    "                                    OUTDIR as NAME000.png... (N POV-Ray\n"
    "                                    processes, 4 to 8 a core unless given); an\n"
    "                                    animated GIF and an H.264 video of them\n"
    "                                    (ffmpeg); Ctrl+C keeps the complete\n"
    "                                    frames\n"
    "  farm ANIMATION OUTDIR --slurm [--submit] [--jobs N] [--size WxH]\n"
    "          [--gif FILE] [--video FILE.mp4]\n"
    "                                    the same on a Slurm cluster: writes a job\n"
    "                                    array of N tasks (20 s of frames or more\n"
    "                                    each unless given) and a dependent\n"
    "                                    assembly job into OUTDIR, a folder every\n"
    "                                    node shares; with --submit also submits\n"
    "                                    them with sbatch\n"
    "  lipsync VOICE.wav ANIMATION [--fps N] [--shapes DIR]\n"
    "                                    key the animation's mouth track from a\n"
    "                                    voice with the mouth shapes' pose files\n"
    "                                    in DIR (poses/mouths beside this\n"
    "                                    program unless given): creates the\n"
    "                                    animation (N fps, 25 unless given), or\n"
    "                                    replaces only the mouth track of an\n"
    "                                    existing one\n"
    "  --help                            show this text\n"
    "\n"
    "Rendering runs POV-Ray 3.7 (\"povray\" on the PATH, or the program named by\n"
    "POVRAY) on the scene in TAVOK_SCENE_DIR, or in the povray folder beside\n"
    "this program.\n"
    "\n"
    "Exit codes: 0 ok, 1 bad input, 2 usage error, 3 render failed.\n";

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", value);
    return text;
}

bool isPoseFileName(const fs::path& path) {
    std::string extension = path.extension().u8string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return extension == ".txt" || extension == ".bas";
}

bool isAnimationFileName(const std::string& path) {
    std::string extension = fs::u8path(path).extension().u8string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return extension == ".tfa";
}

bool parseCount(const std::string& text, int& value) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    value = std::stoi(text);
    return value >= 1 && value <= 10000;
}

} // namespace

TavokPose::TavokPose(Setup setup, std::ostream& out, std::ostream& err)
    : setup_(std::move(setup)), out_(out), err_(err) {}

int TavokPose::usage(const std::string& problem) {
    err_ << "tavokpose: " << problem << "\n"
         << "Try \"tavokpose --help\".\n";
    return ExitUsage;
}

int TavokPose::run(const std::vector<std::string>& args) {
    if (args.empty()) return usage("no command given");
    const std::string& command = args[0];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        out_ << helpText;
        return ExitOk;
    }
    if (command == "check") return check(rest);
    if (command == "render") return render(rest);
    if (command == "sheet") return sheet(rest);
    if (command == "blend") return blend(rest);
    if (command == "export") return exportAnimation(rest);
    if (command == "animate") return animate(rest);
    if (command == "farm") return farm(rest);
    if (command == "lipsync") return lipsync(rest);
    return usage("unknown command \"" + command + "\"");
}

bool TavokPose::readPose(const std::string& path, float (&pose)[PoseCount]) {
    std::error_code code;
    if (fs::is_directory(fs::u8path(path), code)) {
        err_ << path << ": is a folder, not a pose file\n";
        return false;
    }
    if (!fs::exists(fs::u8path(path), code)) {
        err_ << path << ": no such file\n";
        return false;
    }
    PoseReadError error;
    if (readPoseFile(pose, path.c_str(), &error) == PoseFileOk) return true;
    err_ << path;
    if (error.line > 0) err_ << ':' << error.line;
    err_ << ": " << describePoseFault(error) << '\n';
    return false;
}

bool TavokPose::readAnimation(const std::string& path, Animation& animation) {
    std::error_code code;
    fs::path file = fs::u8path(path);
    if (fs::is_directory(file, code) || !fs::exists(file, code)) {
        err_ << path << (fs::exists(file, code) ? ": is a folder" : ": no such file") << '\n';
        return false;
    }
    AnimationReadError error;
    if (readAnimationFile(animation, path.c_str(), &error) == PoseFileOk) return true;
    err_ << path;
    if (error.line > 0) err_ << ':' << error.line;
    err_ << ": " << error.what << '\n';
    return false;
}

bool TavokPose::outputFolderExists(const std::string& path, const fs::path& madeLater) {
    fs::path folder = fs::u8path(path).parent_path();
    std::error_code code;
    if (!madeLater.empty() && fs::absolute(folder / "", code).lexically_normal() ==
                                  fs::absolute(madeLater / "", code).lexically_normal())
        return true;
    if (!folder.empty() && !fs::is_directory(folder, code)) {
        err_ << "tavokpose: cannot write " << path << ": no folder " << folder.u8string() << '\n';
        return false;
    }
    // A folder that takes no file is found now, not after the render.
    fs::path probe = (folder.empty() ? fs::path(".") : folder) / ".tavokpose-write-check";
    bool writable = std::ofstream(probe).good();
    fs::remove(probe, code);
    if (!writable)
        err_ << "tavokpose: cannot write " << path << ": " << std::strerror(errno) << '\n';
    return writable;
}

bool TavokPose::takeOptions(std::vector<std::string>& args, int& width, int& height, int* jobs) {
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] != "--size" && !(jobs && args[i] == "--jobs")) {
            if (args[i].size() > 1 && args[i][0] == '-' && args[i][1] == '-') {
                usage("unknown option \"" + args[i] + "\"");
                return false;
            }
            ++i;
            continue;
        }
        if (i + 1 == args.size()) {
            usage(args[i] + " needs a value");
            return false;
        }
        const std::string& value = args[i + 1];
        if (args[i] == "--jobs") {
            if (!parseCount(value, *jobs)) {
                usage("--jobs takes a number of renders, such as 4");
                return false;
            }
        } else {
            std::size_t x = value.find_first_of("xX");
            if (x == std::string::npos || !parseCount(value.substr(0, x), width) ||
                !parseCount(value.substr(x + 1), height) || width > 8192 || height > 8192) {
                usage("--size takes WIDTHxHEIGHT in pixels, such as 320x240");
                return false;
            }
        }
        args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
    }
    return true;
}

int TavokPose::check(const std::vector<std::string>& files) {
    if (files.empty()) return usage("check needs at least one pose file");
    bool allGood = true;
    for (const std::string& file : files) {
        float pose[PoseCount];
        Animation animation;
        if (isAnimationFileName(file) ? readAnimation(file, animation) : readPose(file, pose))
            out_ << file << ": ok\n";
        else
            allGood = false;
    }
    return allGood ? ExitOk : ExitBadInput;
}

int TavokPose::render(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    int width = 320, height = 240;
    if (!takeOptions(args, width, height, nullptr)) return ExitUsage;
    if (args.size() != 2) return usage("render takes a pose file and an output image");
    float pose[PoseCount];
    if (!readPose(args[0], pose)) return ExitBadInput;
    if (!outputFolderExists(args[1])) return ExitBadInput;
    out_ << "rendering " << args[0] << " at " << width << 'x' << height << std::endl;
    auto start = std::chrono::steady_clock::now();
    std::string error;
    PovRender povray(setup_.povray, setup_.sceneDir);
    if (povray.renderPose(args[0], args[1], width, height, 0, error) != PovRender::Rendered) {
        err_ << "tavokpose: " << error << '\n';
        return ExitRenderFailed;
    }
    out_ << "wrote " << args[1] << " in " << seconds(secondsSince(start)) << '\n';
    return ExitOk;
}

int TavokPose::sheet(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    int width = 160, height = 120;
    int jobs = std::max(1, setup_.cores);
    if (!takeOptions(args, width, height, &jobs)) return ExitUsage;
    if (args.size() != 2) return usage("sheet takes a folder and an output image");
    std::error_code code;
    fs::path folder = fs::u8path(args[0]);
    if (!fs::is_directory(folder, code)) {
        err_ << args[0] << ": not a folder\n";
        return ExitBadInput;
    }
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, code))
        if (entry.is_regular_file() && isPoseFileName(entry.path())) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        err_ << args[0] << ": no pose files (*.txt, *.bas) in this folder\n";
        return ExitBadInput;
    }
    bool allGood = true;
    for (const fs::path& file : files) {
        float pose[PoseCount];
        allGood = readPose(file.u8string(), pose) && allGood;
    }
    if (!allGood) return ExitBadInput;
    if (!outputFolderExists(args[1])) return ExitBadInput;

    auto start = std::chrono::steady_clock::now();
    PovRender povray(setup_.povray, setup_.sceneDir);
    std::string error;
    std::string workDir = PovRender::makeWorkDir(error);
    if (workDir.empty()) {
        err_ << "tavokpose: " << error << '\n';
        return ExitRenderFailed;
    }
    int count = int(files.size());
    jobs = std::min(jobs, count);
    // Each render gets its share of the cores.
    int threads = std::max(1, setup_.cores / jobs);
    std::vector<PovRender::Result> results(files.size(), PovRender::Failed);
    std::vector<std::string> errors(files.size());
    std::atomic<int> next{0};
    int done = 0;
    std::mutex report;
    auto work = [&] {
        for (int i = next++; i < count; i = next++) {
            std::string tile =
                (fs::u8path(workDir) / ("tile-" + std::to_string(i) + ".png")).u8string();
            results[i] =
                povray.renderPose(files[i].u8string(), tile, width, height, threads, errors[i]);
            std::lock_guard<std::mutex> lock(report);
            out_ << '[' << ++done << '/' << count << "] " << files[i].filename().u8string()
                 << (results[i] == PovRender::Rendered ? "" : " failed") << std::endl;
        }
    };
    std::vector<std::thread> workers;
    for (int j = 0; j < jobs; ++j)
        workers.emplace_back(work);
    for (std::thread& worker : workers)
        worker.join();

    int result = ExitOk;
    for (std::size_t i = 0; i < files.size(); ++i)
        if (results[i] != PovRender::Rendered) {
            err_ << "tavokpose: " << files[i].u8string() << ": " << errors[i] << '\n';
            result = ExitRenderFailed;
        }
    if (result == ExitOk) {
        ContactSheet layout(count, width, height);
        std::vector<std::string> labels;
        for (const fs::path& file : files)
            labels.push_back(file.filename().u8string());
        out_ << "composing " << layout.columns() << 'x' << layout.rows() << " sheet" << std::endl;
        if (povray.renderScene(workDir, layout.scene(labels), "sheet.png", layout.width(),
                               layout.height(), 0, error) != PovRender::Rendered ||
            !PovRender::deliver((fs::u8path(workDir) / "sheet.png").u8string(), args[1], error)) {
            err_ << "tavokpose: " << error << '\n';
            result = ExitRenderFailed;
        } else {
            out_ << "wrote " << args[1] << " (" << count << " poses) in "
                 << seconds(secondsSince(start)) << '\n';
        }
    }
    fs::remove_all(fs::u8path(workDir), code);
    return result;
}

int TavokPose::blend(const std::vector<std::string>& args) {
    if (args.size() != 3) return usage("blend takes two pose files and an output include");
    float a[PoseCount], b[PoseCount];
    bool good = readPose(args[0], a);
    good = readPose(args[1], b) && good;
    if (!good) return ExitBadInput;
    std::string text = poseBlend(a, b, fs::u8path(args[0]).filename().u8string(),
                                 fs::u8path(args[1]).filename().u8string());
    if (replaceWithWritten(args[2].c_str(), [&text](std::FILE* out) {
            return std::fputs(text.c_str(), out) >= 0;
        }) != PoseFileOk) {
        err_ << "tavokpose: cannot write " << args[2] << '\n';
        return ExitBadInput;
    }
    out_ << "wrote " << args[2] << '\n';
    return ExitOk;
}

int TavokPose::exportAnimation(const std::vector<std::string>& args) {
    if (args.size() != 2) return usage("export takes an animation file and an output include");
    Animation animation;
    if (!readAnimation(args[0], animation) || !outputFolderExists(args[1])) return ExitBadInput;
    if (writeAnimationIncludeFile(animation, PoseModel().pose, args[1].c_str()) != PoseFileOk) {
        err_ << "tavokpose: cannot write " << args[1] << '\n';
        return ExitBadInput;
    }
    out_ << "wrote " << args[1] << " (" << animation.settings().length << " frames)\n";
    return ExitOk;
}

int TavokPose::animationJob(std::vector<std::string>& args, Animation& animation,
                            AnimationRender::Options& options) {
    for (auto [name, file] : {std::pair{"--gif", &options.gif}, {"--video", &options.video}}) {
        auto at = std::find(args.begin(), args.end(), name);
        if (at == args.end()) continue;
        if (at + 1 == args.end()) return usage(std::string(name) + " needs a file name");
        *file = at[1];
        args.erase(at, at + 2);
    }
    if (!takeOptions(args, options.render.width, options.render.height, &options.jobs))
        return ExitUsage;
    if (args.size() != 2) return usage("takes an animation file and an output folder");
    if (!readAnimation(args[0], animation)) return ExitBadInput;
    std::error_code code;
    fs::path outDir = fs::u8path(args[1]);
    // Before the first frame, a run of hours must not fail at its end; before
    // the output folder, a refused run leaves nothing behind.
    for (const std::string* file : {&options.gif, &options.video})
        if (!file->empty() && !outputFolderExists(*file, outDir)) return ExitBadInput;
    fs::create_directory(outDir, code);
    if (!fs::is_directory(outDir, code)) {
        err_ << "tavokpose: cannot make the folder " << args[1] << '\n';
        return ExitBadInput;
    }
    // The video carries the animation's sound, found before the first frame.
    if (!options.video.empty() && animation.sound().has()) {
        const std::string& sound = animation.sound().path;
        // Read as the editor and lipsync read it: ffmpeg would take sounds
        // they refuse, or refuse one only after the last frame.
        SoundClip clip;
        SoundFileReader reader;
        if (!reader.read(fs::u8path(sound).native(), clip)) {
            err_ << args[0] << ": its sound " << sound << ": " << reader.error() << '\n';
            return ExitBadInput;
        }
        options.sound = sound;
        options.soundStart = animation.sound().start;
    }
    options.render.povray = setup_.povray;
    options.render.stem = fs::u8path(args[0]).stem().u8string();
    options.render.lastFrame = animation.settings().length - 1;
    options.sceneDir = setup_.sceneDir;
    options.outDir = fs::absolute(outDir, code).u8string();
    return -1;
}

int TavokPose::animate(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    AnimationRender::Options options;
    options.cores = setup_.cores;
    Animation animation;
    if (int result = animationJob(args, animation, options); result >= 0) return result;
    options.progress = setup_.terminal;
    options.stallSeconds = setup_.stallSeconds;
    auto start = std::chrono::steady_clock::now();
    catchInterrupts();
    AnimationRender render(options, out_);
    if (AnimationRender::Result result = render.run(animation); result != AnimationRender::Done) {
        err_ << "tavokpose: " << render.error << '\n';
        return result == AnimationRender::InUse ? ExitBadInput : ExitRenderFailed;
    }
    out_ << "wrote " << animation.settings().length << " frames to " << args[1] << " in "
         << seconds(secondsSince(start)) << '\n';
    return ExitOk;
}

int TavokPose::farm(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    auto slurm = std::find(args.begin(), args.end(), "--slurm");
    if (slurm == args.end()) return usage("farm needs --slurm, the only farm it knows");
    args.erase(slurm);
    auto submit = std::find(args.begin(), args.end(), "--submit");
    bool submitting = submit != args.end();
    if (submitting) args.erase(submit);
    AnimationRender::Options options;
    options.jobs = 0;
    Animation animation;
    if (int result = animationJob(args, animation, options); result >= 0) return result;
    FarmPlan plan;
    plan.render = options.render;
    plan.outDir = options.outDir;
    plan.fps = animation.settings().fps;
    plan.soundStart = options.soundStart;
    std::error_code code;
    for (auto [from, to] : {std::pair{&options.gif, &plan.gif},
                            {&options.video, &plan.video},
                            {&options.sound, &plan.sound}})
        if (!from->empty()) *to = fs::absolute(fs::u8path(*from), code).u8string();
    int frames = animation.settings().length;
    plan.ranges = farmTasks(frames, plan.render, options.jobs);
    std::string error, notice;
    WorkFolder work;
    if (!work.take(plan.outDir, plan.render.stem, "tavokpose farm", error, notice)) {
        err_ << "tavokpose: " << error << '\n';
        return ExitBadInput;
    }
    if (!notice.empty()) out_ << "tavokpose: " << notice << '\n';
    AnimationRender::prepare(animation, options.sceneDir, work.path(), error);
    for (auto [name, text] : {std::pair{"frames.sh", slurmFramesScript(plan)},
                              {"assemble.sh", slurmAssemblyScript(plan)},
                              {"submit.sh", slurmSubmitScript(plan)}})
        if (error.empty() && replaceWithWritten((fs::u8path(work.path()) / name).u8string().c_str(),
                                                [&text = text](std::FILE* out) {
                                                    return std::fputs(text.c_str(), out) >= 0;
                                                }) != PoseFileOk)
            error = "cannot write " + (fs::u8path(work.path()) / name).u8string();
    if (!error.empty()) {
        err_ << "tavokpose: " << error << '\n';
        return ExitBadInput;
    }
    std::string folder = work.path(), submitScript = (fs::u8path(folder) / "submit.sh").u8string();
    out_ << plan.ranges.size() << " tasks render " << frames << " frames into " << plan.outDir
         << '\n';
    if (!submitting) {
        work.handOverToFarm("jobs to submit with " + shellQuoted(submitScript));
        out_ << "submit with: sh " << shellQuoted(submitScript) << '\n';
        return ExitOk;
    }
    ProcessResult result = runProcess({"sh", submitScript}, folder, "submit.log", 60);
    std::stringstream log;
    log << std::ifstream(fs::u8path(folder) / "submit.log", std::ios::binary).rdbuf();
    if (!result.started || result.exitCode != 0) {
        // Nothing was queued: nothing stays behind.
        err_ << "tavokpose: sbatch failed:\n" << log.str();
        fs::remove(fs::u8path(slurmLogFolder(plan)), code);
        return ExitRenderFailed;
    }
    work.handOverToFarm("the Slurm jobs submitted by " + shellQuoted(submitScript));
    out_ << log.str() << "should tasks fail, resubmit them with: sh " << shellQuoted(submitScript)
         << " --failed\n";
    return ExitOk;
}

int TavokPose::lipsync(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    std::string shapesDir = setup_.mouthsDir, fpsText;
    for (auto [name, value] : {std::pair{"--shapes", &shapesDir}, {"--fps", &fpsText}}) {
        auto at = std::find(args.begin(), args.end(), name);
        if (at == args.end()) continue;
        if (at + 1 == args.end()) return usage(std::string(name) + " needs a value");
        *value = at[1];
        args.erase(at, at + 2);
    }
    for (const std::string& arg : args)
        if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-')
            return usage("unknown option \"" + arg + "\"");
    if (args.size() != 2) return usage("lipsync takes a voice (WAV) and an animation file");
    int fps = 0;
    if (!fpsText.empty() && (!parseCount(fpsText, fps) || fps > MaxFps))
        return usage("--fps takes frames per second from " + std::to_string(MinFps) + " to " +
                     std::to_string(MaxFps));
    const std::string &voicePath = args[0], &path = args[1];

    SoundClip voice;
    SoundFileReader reader;
    if (!reader.read(fs::u8path(voicePath).native(), voice)) {
        err_ << voicePath << ": " << reader.error() << '\n';
        return ExitBadInput;
    }
    MouthShapeSet shapes;
    if (!shapes.load(shapesDir)) {
        err_ << shapes.error() << '\n';
        return ExitBadInput;
    }
    Animation animation;
    std::error_code code;
    bool existing = fs::exists(fs::u8path(path), code);
    if (existing && !readAnimation(path, animation)) return ExitBadInput;
    AnimationSettings settings = animation.settings();
    if (existing && fps && fps != settings.fps) {
        err_ << path << ": the animation runs at " << settings.fps << " fps, not " << fps << '\n';
        return ExitBadInput;
    }
    if (!existing) {
        // Mouth shapes change at once; a glide between them blurs speech.
        settings.fps = fps ? fps : settings.fps;
        settings.length = framesFor(voice.seconds(), settings.fps);
        settings.interpolation = InterpolateHold;
        if (settings.length > MaxLength) {
            err_ << voicePath << ": " << settings.length << " frames at " << settings.fps
                 << " fps, longer than an animation's " << MaxLength << '\n';
            return ExitBadInput;
        }
        animation.setSettings(settings);
    }
    // The keys start with the animation's sound, which the voice takes the
    // place of.
    int start = animation.sound().start;
    animation.setSound({voicePath, start});
    std::string problem = soundLineProblem(animation, path.c_str());
    if (!problem.empty()) {
        err_ << "tavokpose: cannot write " << path << ": " << problem << '\n';
        return ExitBadInput;
    }
    std::vector<MouthKey> keys = lipSync(voice, settings.fps);
    int left = setMouthTrack(animation, keys, shapes, start);
    if (!outputFolderExists(path)) return ExitBadInput;
    if (writeAnimationFile(animation, path.c_str()) != PoseFileOk) {
        err_ << "tavokpose: cannot write " << path << '\n';
        return ExitBadInput;
    }
    out_ << "wrote " << path << ": " << keys.size() - std::size_t(left) << " mouth keys from "
         << voicePath << " (" << seconds(voice.seconds()) << ")";
    if (left > 0) out_ << "; " << keysLeftOutText(left, animation, voice.seconds(), start);
    out_ << '\n';
    return ExitOk;
}
