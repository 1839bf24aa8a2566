// tavokpose animate with the real POV-Ray, ImageMagick and ffmpeg.
#include "animation/AnimationFile.h"
#include "face/PoseFile.h"
#include "render/Quoting.h"
#include "tools/tavokpose/TavokPose.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
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

    std::string animation(int frames) {
        char text[512];
        std::snprintf(text, sizeof text, blink, frames);
        std::ofstream((dir / "blink.tfa"), std::ios::binary) << text;
        return (dir / "blink.tfa").string();
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
        for (const fs::directory_entry& entry : fs::directory_iterator(folder))
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

TEST_F(Animate, InterruptedLeavesOnlyCompleteFramesAndNoProcess) {
    std::string file = animation(40), frames = (dir / "frames").string();
    pid_t tool = fork();
    if (tool == 0) {
        setenv("TAVOK_SCENE_DIR", TAVOK_SCENE_DIR, 1);
        execl(TAVOK_TOOL, "tavokpose", "animate", file.c_str(), frames.c_str(), "--size", "160x120",
              (char*)nullptr);
        _exit(127);
    }
    auto waitFor = [](int seconds, const std::function<bool()>& done) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(10)))
            if (std::chrono::steady_clock::now() > deadline) return false;
        return true;
    };
    int status = 0;
    bool started = waitFor(20, [&] { return fs::exists(fs::path(frames) / "blink00.png"); });
    kill(tool, started ? SIGINT : SIGKILL);
    bool ended = waitFor(5, [&] { return waitpid(tool, &status, WNOHANG) == tool; });
    if (!ended) kill(tool, SIGKILL), waitpid(tool, &status, 0);
    ASSERT_TRUE(started) << "no first frame within 20 s";
    ASSERT_TRUE(ended) << "tavokpose did not end within 5 s of Ctrl+C";
    EXPECT_EQ(WEXITSTATUS(status), ExitRenderFailed);
    std::set<std::string> left = files(frames);
    EXPECT_LT(left.size(), 40u);
    for (const std::string& name : left)
        EXPECT_EQ(output("identify -format '%w %h' " + shellQuoted(frames + "/" + name)), "160 120")
            << name;
    // No process still works in the output folder.
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
        std::error_code code;
        std::string cwd = fs::read_symlink(entry.path() / "cwd", code).string();
        EXPECT_NE(cwd.rfind(frames, 0), 0u) << entry.path();
    }
}

} // namespace
