// tavokpose animate with the real POV-Ray, ImageMagick and ffmpeg.
#include "animation/AnimationFile.h"
#include "animrender/WorkFolder.h"
#include "face/PoseFile.h"
#include "render/Quoting.h"
#include "tools/tavokpose/TavokPose.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const blink = "TavokFace animation\r\nframes per second: 25\r\nlength in frames: %d\r\n"
                          "interpolation: smooth\r\n"
                          "key 0: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\n"
                          "key 3: <10,-20,30>,0.8, 30,90, 45,90, 0.2, 0.4, 0.6, 0.4, 0.2\r\n";

class Animate : public TestFolder {
  protected:
    Animate() : TestFolder("tavok-animate-") {
        setup.sceneDir = TAVOK_SCENE_DIR;
        setup.cores = 2;
    }

    std::string animation(int frames, const std::string& name = "blink") {
        char text[512];
        std::snprintf(text, sizeof text, blink, frames);
        return put(name + ".tfa", text);
    }
    // tavokpose in a process of its own, with `variables` set.
    pid_t start(const std::vector<std::string>& args,
                const std::vector<std::pair<std::string, std::string>>& variables = {}) {
        pid_t tool = fork();
        if (tool == 0) {
            setenv("TAVOK_SCENE_DIR", TAVOK_SCENE_DIR, 1);
            for (const auto& [name, value] : variables)
                setenv(name.c_str(), value.c_str(), 1);
            std::vector<char*> argv = {const_cast<char*>("tavokpose")};
            for (const std::string& arg : args)
                argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            execv(TAVOK_TOOL, argv.data());
            _exit(127);
        }
        return tool;
    }
    static bool waitFor(int seconds, const std::function<bool()>& done) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(10)))
            if (std::chrono::steady_clock::now() > deadline) return false;
        return true;
    }
    // The exit status of `tool` once it ended, within `seconds`, or -1 (and killed).
    static int ended(pid_t tool, int seconds) {
        int status = 0;
        bool done = waitFor(seconds, [&] { return waitpid(tool, &status, WNOHANG) == tool; });
        return done ? status : (kill(tool, SIGKILL), waitpid(tool, &status, 0), -1);
    }
    // Whether every process working in `folder` (or below) ended within 5 s.
    static bool noProcessIn(const std::string& folder) {
        return waitFor(5, [&] {
            for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
                std::error_code code;
                if (fs::read_symlink(entry.path() / "cwd", code).string().rfind(folder, 0) == 0)
                    return false;
            }
            return true;
        });
    }
    // An executable script in the test's folder.
    std::string script(const std::string& name, const std::string& text) {
        std::string file = put("bin/" + name, "#!/bin/sh\n" + text);
        fs::permissions(file, fs::perms::owner_all);
        return file;
    }
    int run(std::vector<std::string> args) {
        err.str("");
        return TavokPose(setup, out, err).run(args);
    }
    // A program's output; empty when it fails.
    static std::string output(const std::string& command) {
        std::string text;
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[256];
        for (std::size_t got; pipe && (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, got);
        return pipe && pclose(pipe) == 0 ? text : "";
    }
    std::set<std::string> files(const fs::path& folder) {
        std::set<std::string> names;
        std::error_code none; // no folder yet: no files
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, none))
            names.insert(entry.path().filename().string());
        return names;
    }
    // POV-Ray's PNG holds the time of the render: compare the pixels.
    static std::string pixels(const std::string& png) {
        return output("convert " + shellQuoted(png) + " rgb:-");
    }

    TavokPose::Setup setup;
    std::ostringstream out, err;
};

TEST_F(Animate, SixFramesEachItsPoseWithGifAndVideo) {
    std::string file = animation(6), frames = (dir / "frames").string();
    ASSERT_EQ(run({"animate", file, frames, "--size", "64x48", "--gif", frames + "/b.gif",
                   "--video", frames + "/b.mp4"}),
              ExitOk)
        << err.str();
    EXPECT_EQ(files(frames),
              (std::set<std::string>{"blink0.png", "blink1.png", "blink2.png", "blink3.png",
                                     "blink4.png", "blink5.png", "b.gif", "b.mp4"}));
    Animation read;
    ASSERT_EQ(readAnimationFile(read, file.c_str()), PoseFileOk);
    for (int frame = 0; frame < 6; ++frame) {
        float pose[PoseCount];
        ASSERT_TRUE(read.poseAt(frame, pose));
        std::string still = (dir / "still.png").string();
        ASSERT_EQ(writePoseFile(pose, (dir / "pose.txt").string().c_str()), PoseFileOk);
        ASSERT_EQ(run({"render", (dir / "pose.txt").string(), still, "--size", "64x48"}), ExitOk);
        std::string expected = pixels(still);
        EXPECT_EQ(expected.size(), 64u * 48 * 3);
        EXPECT_TRUE(expected == pixels(frames + "/blink" + std::to_string(frame) + ".png"))
            << "frame " << frame;
    }
    EXPECT_EQ(output("identify -format '%T %s\\n' " + shellQuoted(frames + "/b.gif")),
              "4 0\n4 1\n4 2\n4 3\n4 4\n4 5\n");
    EXPECT_EQ(output("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                     "stream=nb_read_frames,codec_name,pix_fmt,r_frame_rate -of csv=p=0 " +
                     shellQuoted(frames + "/b.mp4")),
              "h264,yuv420p,25/1,6\n");

    std::string path = std::getenv("PATH");
    setenv("PATH", "/nonexistent", 1);
    EXPECT_EQ(run({"animate", file, frames, "--video", "v.mp4"}), ExitRenderFailed);
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(err.str(), "tavokpose: cannot run \"ffmpeg\": install it (Debian and Ubuntu: "
                         "apt-get install ffmpeg)\n");
}

TEST_F(Animate, TheVideoCarriesTheSoundFromItsFrameForTheFramesLength) {
    // A tone of a second, starting at frame 5 of 10 (0.2 s in, at 25 fps).
    ASSERT_NE(output("ffmpeg -nostdin -v error -f lavfi -i sine=frequency=440:duration=1 " +
                     shellQuoted(path("tone.wav")) + " && echo ok"),
              "");
    std::string file = put("talk.tfa", "TavokFace animation\r\nframes per second: 25\r\n"
                                       "length in frames: 10\r\ninterpolation: smooth\r\n"
                                       "sound 5: tone.wav\r\n"
                                       "mouth 0: 0, 0, 0, 0, 0\r\n");
    std::string frames = (dir / "frames").string(), video = path("talk.mp4");
    ASSERT_EQ(run({"animate", file, frames, "--size", "32x24", "--gif", path("talk.gif"), "--video",
                   video}),
              ExitOk)
        << err.str();
    EXPECT_EQ(output("ffprobe -v error -show_entries stream=codec_type,codec_name,duration -of "
                     "csv=p=0 " +
                     shellQuoted(video)),
              "h264,video,0.400000\naac,audio,0.400000\n");
    EXPECT_EQ(output("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 " +
                     shellQuoted(path("talk.gif"))),
              "video\n")
        << "the GIF has no sound";
    // Silent until frame 5, then the tone.
    auto loudest = [&](const char* from, const char* to) {
        std::string report =
            output("ffmpeg -nostdin -i " + shellQuoted(video) + " -af atrim=" + from + ":" + to +
                   ",volumedetect -f null - 2>&1");
        std::size_t at = report.find("max_volume: ");
        return at == std::string::npos ? 0.0 : std::stod(report.substr(at + 12));
    };
    EXPECT_LT(loudest("0", "0.17"), -60);
    EXPECT_GT(loudest("0.23", "0.4"), -20);
    // A sound that is no sound stops the run before its first frame.
    put("tone.wav", "RIFF, but no sound");
    EXPECT_EQ(run({"animate", file, frames, "--video", video}), ExitBadInput);
    EXPECT_EQ(err.str().rfind(file + ": its sound " + path("tone.wav") + ": ", 0), 0u) << err.str();
}

TEST_F(Animate, InterruptedLeavesOnlyCompleteFramesAndNoProcess) {
    std::string file = animation(40), frames = (dir / "frames").string();
    pid_t tool = start({"animate", file, frames, "--size", "160x120"});
    bool started = waitFor(20, [&] { return fs::exists(fs::path(frames) / "blink00.png"); });
    kill(tool, started ? SIGINT : SIGKILL);
    int status = ended(tool, 5);
    ASSERT_TRUE(started) << "no first frame within 20 s";
    ASSERT_NE(status, -1) << "tavokpose did not end within 5 s of Ctrl+C";
    EXPECT_EQ(WEXITSTATUS(status), ExitRenderFailed);
    std::set<std::string> left = files(frames);
    EXPECT_LT(left.size(), 40u);
    for (const std::string& name : left)
        EXPECT_EQ(output("identify -format '%w %h' " + shellQuoted(frames + "/" + name)), "160 120")
            << name;
    EXPECT_TRUE(noProcessIn(frames)) << "a process still works in the output folder";

    // Run again, it goes on where it stopped: the frames there stay untouched.
    std::map<std::string, fs::file_time_type> times;
    for (const std::string& name : left)
        times[name] = fs::last_write_time(fs::path(frames) / name);
    ASSERT_EQ(run({"animate", file, frames, "--size", "160x120"}), ExitOk) << err.str();
    EXPECT_NE(out.str().find(std::to_string(left.size()) + " frames rendered before with these "
                                                           "settings are kept"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(files(frames).size(), 40u);
    for (const auto& [name, time] : times)
        EXPECT_TRUE(fs::last_write_time(fs::path(frames) / name) == time) << name;
}

TEST_F(Animate, NamesReachNoProgramsParser) {
    // POV-Ray splits its options at spaces and quotes, ffmpeg reads "%" in
    // names, the shell all the rest.
    std::string frames = (dir / "o 100%done").string(), longest(245, 'L');
    for (const char* name :
         {"my blink", "it's $(x) `y`", "semi;colon", "bl\xC3\xAFnk", "100%d", longest.c_str()}) {
        std::string file = animation(4, name);
        ASSERT_EQ(run({"animate", file, frames, "--size", "32x24", "--gif", frames + "/a%d.gif",
                       "--video", frames + "/v%d.mp4"}),
                  ExitOk)
            << name << ": " << err.str();
        std::set<std::string> expected = {"a%d.gif", "v%d.mp4"};
        for (const char* number : {"0", "1", "2", "3"})
            expected.insert(name + std::string(number) + ".png");
        EXPECT_EQ(files(frames), expected) << name;
        EXPECT_EQ(output("identify -format '%T ' " + shellQuoted(frames + "/a%d.gif")), "4 4 4 4 ")
            << name;
        fs::remove_all(frames);
    }
    // Before the first frame, not after the last.
    for (const char* gif : {"/nonexistent/g.gif", "/proc/g.gif"})
        EXPECT_EQ(run({"animate", animation(4), frames, "--gif", gif}), ExitBadInput) << gif;
    EXPECT_FALSE(fs::exists(frames));
}

TEST_F(Animate, StemsThatStartAlikeKeepToTheirOwnFrames) {
    // "a1"'s frame 0 and "a"'s frame 10 were both a10.png.
    std::string frames = (dir / "frames").string();
    ASSERT_EQ(run({"animate", animation(4, "a1"), frames, "--size", "8x6"}), ExitOk) << err.str();
    fs::file_time_type first = fs::last_write_time(fs::path(frames) / "a1-0.png");
    ASSERT_EQ(run({"animate", animation(11, "a"), frames, "--size", "8x6"}), ExitOk) << err.str();
    ASSERT_EQ(run({"animate", animation(4, "a1"), frames, "--size", "8x6"}), ExitOk) << err.str();
    EXPECT_NE(out.str().find("4 frames rendered before"), std::string::npos) << out.str();
    EXPECT_TRUE(fs::last_write_time(fs::path(frames) / "a1-0.png") == first);
    std::set<std::string> expected = {"a1-0.png", "a1-1.png", "a1-2.png", "a1-3.png", "a10.png"};
    for (int frame = 0; frame < 10; ++frame)
        expected.insert("a0" + std::to_string(frame) + ".png");
    EXPECT_EQ(files(frames), expected);
}

TEST_F(Animate, ARunHoldsItsWorkFolderUntilItEndsHoweverItEnds) {
    std::string file = animation(40), frames = (dir / "frames").string();
    pid_t first = start({"animate", file, frames, "--size", "160x120"});
    bool started = waitFor(20, [&] { return fs::exists(fs::path(frames) / "blink00.png"); });
    EXPECT_EQ(run({"animate", file, frames, "--size", "160x120"}), ExitBadInput);
    std::string holder = "process " + std::to_string(first) + " (tavokpose animate)";
    EXPECT_NE(err.str().find("is in use by " + holder), std::string::npos) << err.str();
    // Killed outright, it leaves its folder but no POV-Ray.
    kill(first, SIGKILL);
    ASSERT_TRUE(started) << "no first frame within 20 s";
    ASSERT_EQ(ended(first, 5), SIGKILL);
    EXPECT_TRUE(noProcessIn(frames)) << "POV-Ray outlived the run that started it";
    out.str("");
    ASSERT_EQ(run({"animate", animation(4), frames, "--size", "32x24"}), ExitOk) << err.str();
    EXPECT_NE(out.str().find("removed what an earlier run (" + holder + ")"), std::string::npos)
        << out.str();
    EXPECT_FALSE(fs::exists(fs::path(frames) / ".tavokpose-blink-frames"));
    // One it cannot lock says why.
    fs::create_directories(fs::path(frames) / ".tavokpose-blink-frames" / "owner.txt");
    EXPECT_EQ(run({"animate", animation(4), frames, "--size", "32x24"}), ExitBadInput);
    EXPECT_NE(err.str().find("-frames: Is a directory"), std::string::npos) << err.str();
}

TEST_F(Animate, RunsStartedAtOnceNameTheOneThatHasTheFolder) {
    for (int round = 0; round < 20; ++round) {
        std::vector<pid_t> runs;
        for (int i = 0; i < 3; ++i)
            if ((runs.emplace_back(fork())) == 0) {
                WorkFolder work;
                std::string error, notice;
                bool took = work.take(dir.string(), "b", "test", error, notice);
                if (took) std::this_thread::sleep_for(std::chrono::milliseconds(200));
                work.remove();
                _exit(took ? 0 : error.find(" in use by process ") != std::string::npos ? 1 : 2);
            }
        for (pid_t run : runs) {
            int status = ended(run, 10);
            EXPECT_TRUE(status == 0 || status == 1 << 8) << "round " << round << ": " << status;
        }
    }
}

TEST_F(Animate, EverySignalEndsTheAssemblyAndLeavesNoPartialOutput) {
    std::string file = animation(4), frames = (dir / "frames").string();
    std::string marker = (dir / "assembling").string();
    // An ffmpeg that takes its time: it says where it runs, then waits in a
    // child of its own, which must not outlive the tool either.
    script("ffmpeg", "pwd >" + shellQuoted(marker) + "\nsleep 30\nexit 0\n");
    std::string path = (dir / "bin").string() + ":" + std::getenv("PATH");
    for (int signal : {SIGTERM, SIGHUP, SIGPIPE, SIGINT, SIGKILL}) {
        fs::remove(marker);
        pid_t tool =
            start({"animate", file, frames, "--size", "32x24", "--video", frames + "/v.mp4"},
                  {{"PATH", path}});
        bool assembling = waitFor(20, [&] { return fileBytes(marker).size() > 1; });
        kill(tool, assembling ? signal : SIGKILL);
        int status = ended(tool, 5);
        ASSERT_TRUE(assembling) << "no assembly within 20 s";
        EXPECT_EQ(status, signal == SIGKILL ? SIGKILL : ExitRenderFailed << 8) << strsignal(signal);
        EXPECT_TRUE(noProcessIn(frames)) << "ffmpeg outlived " << strsignal(signal);
        EXPECT_EQ(files(frames).count("v.mp4") + files(frames).count("v.mp4.new"), 0u)
            << strsignal(signal);
    }
}

TEST_F(Animate, AnAssemblerThatHangsIsEndedOnceItStopsWriting) {
    // An ffmpeg that writes nothing and would wait 20 s: ended long before.
    std::string frames = (dir / "frames").string();
    script("ffmpeg", "sleep 20\n");
    std::string path = std::getenv("PATH");
    setenv("PATH", ((dir / "bin").string() + ":" + path).c_str(), 1);
    setup.stallSeconds = 1;
    int result =
        run({"animate", animation(4), frames, "--size", "8x6", "--video", frames + "/v.mp4"});
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(result, ExitRenderFailed);
    EXPECT_NE(err.str().find("/bin/ffmpeg wrote nothing for 1 s, so it was ended"),
              std::string::npos)
        << err.str();
    EXPECT_TRUE(noProcessIn(frames)) << "the hung ffmpeg outlived the run";
    EXPECT_EQ(files(frames),
              (std::set<std::string>{"blink0.png", "blink1.png", "blink2.png", "blink3.png"}));
}

TEST_F(Animate, EveryCompleteFrameIsKeptAndNoIncompleteOne) {
    // A POV-Ray whose first job writes two whole frames and whose second
    // writes one and part of the next, then both wait.
    std::string png = (dir / "whole.png").string();
    ASSERT_EQ(output("convert -size 8x8 xc:red png:" + shellQuoted(png) + " && echo ok"), "ok\n");
    std::string povray =
        script("povray", "for a; do case $a in +SF*) first=${a#+SF} ;; esac; done\n"
                         "cp " +
                             shellQuoted(png) +
                             " frame$first.png\n"
                             "if [ $first = 0 ]; then cp " +
                             shellQuoted(png) +
                             " frame1.png\n"
                             "else head -c 60 " +
                             shellQuoted(png) +
                             " >frame$((first + 1)).png; fi\n"
                             "exec sleep 30\n");
    std::string frames = (dir / "frames").string();
    pid_t tool = start({"animate", animation(8), frames, "--jobs", "2"}, {{"POVRAY", povray}});
    std::set<std::string> whole = {"blink0.png", "blink1.png", "blink4.png"};
    bool moved = waitFor(10, [&] {
        std::set<std::string> there = files(frames);
        return std::includes(there.begin(), there.end(), whole.begin(), whole.end());
    });
    kill(tool, SIGINT);
    EXPECT_EQ(ended(tool, 5), ExitRenderFailed << 8);
    EXPECT_TRUE(moved) << "the complete frames were not moved out within 10 s";
    EXPECT_EQ(files(frames), whole);
}

} // namespace
