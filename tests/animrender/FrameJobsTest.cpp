// The editor's frame renders and its video under Wine with Debian's POV-Ray and ffmpeg.
#include "animrender/FrameJobs.h"
#include "animrender/VideoJob.h"
#include "render/Povray.h"
#include "render/Quoting.h"
#include "tools/tavokpose/Process.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <windows.h>

namespace {

// Its own folder: the 32- and 64-bit runs, or two checkouts, may run at once.
const std::string dir = "/tmp/tavok-frame-jobs-" + std::to_string(GetCurrentProcessId());
const std::string out = windowsPathOf(dir);

// The unix shell's answer to `script`, run in the test's folder.
std::string shell(const std::string& script) {
    ProcessResult result =
        runProcess({"sh", "-c", "(" + script + ") >answer.txt"}, out, "shell.log", 10);
    EXPECT_TRUE(result.started && result.exitCode == 0) << script;
    return fileBytes(out + "\\answer.txt");
}

Animation blink(int length) {
    Animation animation;
    animation.setSettings({25, length, InterpolateSmooth});
    float pose[PoseCount];
    PoseModel model;
    std::copy(model.pose, model.pose + PoseCount, pose);
    animation.setKey(0, pose);
    pose[4] = pose[6] = 90; // both lids shut
    animation.setKey(length - 1, pose);
    return animation;
}

class Jobs : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateDirectoryA(out.c_str(), nullptr);
        shell("rm -rf frames blink.gif && mkdir frames");
        render.povray = "Z:\\usr\\bin\\povray";
        render.stem = "blink";
        render.width = 64;
        render.height = 48;
    }
    void TearDown() override {
        shell("rm -rf frames blink.gif");
        for (const char* file : {"\\answer.txt", "\\shell.log"})
            DeleteFileA((out + file).c_str());
        RemoveDirectoryA(out.c_str());
    }
    std::string frames() {
        return shell("cd " + shellQuoted(dir + "/frames") + " && ls -A | xargs");
    }

    FrameJobs jobs;
    FrameRender render;
};

TEST_F(Jobs, CancelLeavesCompleteFramesAndNoProcess) {
    render.width = 320;
    render.height = 240;
    ASSERT_TRUE(
        jobs.start(blink(40), render, {0, 39}, 2, windowsPathOf(TAVOK_SCENE_DIR), out + "\\frames"))
        << jobs.error;
    for (ULONGLONG end = GetTickCount64() + 30000;
         jobs.progress().done() == 0 && GetTickCount64() < end;)
        ASSERT_EQ(jobs.poll(), FrameJobs::Running) << jobs.error;
    ASSERT_GT(jobs.progress().done(), 0) << "no frame within 30 s";
    jobs.cancel();
    std::string working = "for p in /proc/[0-9]*; do readlink $p/cwd; done | grep -c " +
                          shellQuoted(dir + "/frames") + " || true";
    EXPECT_EQ(shell(working), "0\n") << "a process still works in the output folder";
    // Only whole frames: no work folder, and each image reads back whole.
    std::string left = frames(), sizes;
    for (char c : left)
        if (c == ' ' || c == '\n') sizes += "320x240 ";
    EXPECT_EQ(shell("cd " + shellQuoted(dir + "/frames") +
                    " && for f in *; do identify -format '%wx%h ' \"$f\"; done"),
              sizes)
        << left;
}

TEST_F(Jobs, AVideoOfFramesOnAnotherDiskCopiesThem) {
    // No link reaches the output folder from /dev/shm: the frames are copied.
    std::string source = "/dev/shm/tavok-video-" + std::to_string(GetCurrentProcessId());
    shell("mkdir " + shellQuoted(source) + " && cd " + shellQuoted(source) +
          " && for i in 0 1 2; do convert -size 32x24 xc:red f$i.png; done");
    std::vector<std::string> frames;
    for (const char* name : {"/f0.png", "/f1.png", "/f2.png"})
        frames.push_back(windowsPathOf(source + name));
    VideoJob video;
    ASSERT_TRUE(video.start("Z:\\usr\\bin\\ffmpeg", frames, 25, "", 0, out + "\\frames", "clip"))
        << video.error;
    VideoJob::State state = VideoJob::Running;
    for (ULONGLONG end = GetTickCount64() + 30000;
         (state = video.poll()) == VideoJob::Running && GetTickCount64() < end;)
        Sleep(20);
    shell("rm -rf " + shellQuoted(source));
    ASSERT_EQ(state, VideoJob::Done) << video.error << " (or not done within 30 s)";
    EXPECT_EQ(shell("ffprobe -v error -count_frames -show_entries stream=nb_read_frames -of "
                    "csv=p=0 " +
                    shellQuoted(dir + "/frames/clip.mp4")),
              "3\n");
}

// Run by the next test in a process of its own: starts a render and dies.
TEST_F(Jobs, DISABLED_StartThenCrash) {
    render.width = 320, render.height = 240;
    ASSERT_TRUE(jobs.start(blink(40), render, {0, 39}, 2, windowsPathOf(TAVOK_SCENE_DIR),
                           out + "\\frames"));
    for (ULONGLONG end = GetTickCount64() + 30000;
         jobs.progress().done() == 0 && GetTickCount64() < end;)
        jobs.poll();
    TerminateProcess(GetCurrentProcess(), 3);
}

TEST_F(Jobs, RendersEndWithTheProgramHoweverItEnds) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line =
        L"\"" + std::wstring(self) +
        L"\" --gtest_also_run_disabled_tests --gtest_filter=Jobs.DISABLED_StartThenCrash";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &child));
    DWORD waited = WaitForSingleObject(child.hProcess, 40000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 1);
    for (HANDLE handle : {child.hThread, child.hProcess})
        CloseHandle(handle);
    ASSERT_EQ(waited, WAIT_OBJECT_0) << "the render that crashes did not end within 40 s";
    std::string folder = "/tmp/tavok-frame-jobs-" + std::to_string(child.dwProcessId);
    std::string working = "for p in /proc/[0-9]*; do readlink $p/cwd; done | grep -c " +
                          shellQuoted(folder) + " || true";
    std::string count;
    // It notices within 10 s (the age of a file the program touches).
    for (ULONGLONG end = GetTickCount64() + 15000;
         (count = shell(working)) != "0\n" && GetTickCount64() < end;)
        Sleep(200);
    EXPECT_EQ(count, "0\n") << "POV-Ray outlived the program that started it by 15 s";
    shell("rm -rf " + shellQuoted(folder));
}

} // namespace
