// The POV-Ray runner under Wine, with Debian's POV-Ray and scripts as stand-ins.
#include "render/Povray.h"
#include "render/PovrayRunner.h"
#include "render/Quoting.h"
#include "tools/tavokpose/Process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <windows.h>

namespace {

const float pose[13] = {0, 0, 0, 0.5f, 30, -30, 30, -30, 0, 0, 0, 0, 0};
const std::string dir = "/tmp/tavok-runner-" + std::to_string(GetCurrentProcessId());

std::wstring wide(const std::string& text) {
    return std::filesystem::u8path(text).wstring();
}

bool exists(const std::string& unixPath) {
    return GetFileAttributesW(wide(windowsPathOf(unixPath)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void waitFor(const std::function<bool()>& done, int seconds, const std::string& what) {
    for (ULONGLONG end = GetTickCount64() + ULONGLONG(seconds) * 1000; !done(); Sleep(20))
        if (GetTickCount64() > end) return void(ADD_FAILURE() << "waited for " << what);
}

// Runs `script` in the Unix shell, in `dir`, to its end.
void shell(const std::string& script) {
    CreateDirectoryW(wide(windowsPathOf(dir)).c_str(), nullptr);
    ProcessResult result = runProcess({"sh", "-c", script}, windowsPathOf(dir), "shell.log", 10);
    EXPECT_EQ(result.exitCode, 0) << script;
}

// An executable script `text` at `path`, in a folder made for it.
std::string program(const std::string& path, const std::string& text) {
    std::string file = shellQuoted(path);
    return "mkdir -p \"$(dirname " + file + ")\" && printf %s " + shellQuoted(text) + " >" + file +
           " && chmod +x " + file;
}

// A Windows path cannot hold '"': the shell's side of that is tested natively.
TEST(PovrayRunner, AScriptInAFolderNamedLikeCommandsRendersAndFailuresAreToldApart) {
    std::string wrapper = dir + "/c';touch PWNED;'d $(touch PWNED) `touch PWNED` \xd1\x82/povray";
    std::string temp = dir + "/\xe6\x97\xa5\xe6\x9c\xac/", stale = temp + "TavokF-999999-1",
                own = temp + "TavokF-" + std::to_string(GetCurrentProcessId()) + "-1";
    shell(program(wrapper, "#!/bin/sh\nexec povray \"$@\"\n") + "; " +
          program(dir + "/bin/pvengine.exe", "") + "; mkdir -p " + shellQuoted(stale) + " " +
          shellQuoted(own));
    SetEnvironmentVariableW(L"TMP", wide(windowsPathOf(temp)).c_str());
    SetEnvironmentVariableW(L"POVRAY", wide(wrapper).c_str());
    PovrayRunner runner;
    for (int render = 0; render < 2; ++render) {
        int number = runner.start(runner.findPovray(), pose, 32, 24);
        EXPECT_EQ(unixPathOf(runner.folder()).compare(0, temp.size(), temp), 0) << runner.folder();
        waitFor([&] { return runner.poll(number) != PovrayRunner::Running; }, 20, "the render");
        EXPECT_TRUE(runner.problem.empty()) << runner.error;
        EXPECT_TRUE(!exists(stale) && exists(own)) << "stale scratch folders go, others stay";
        EXPECT_FALSE(exists(unixPathOf(runner.folder()) + "PWNED") || exists(dir + "/PWNED"));
        // A scratch folder a cleaner removed is made again.
        shell("rm -rf " + shellQuoted(unixPathOf(runner.folder())));
    }
    shell("mkdir -p " + shellQuoted(unixPathOf(runner.folder()) + "pose.txt"));
    EXPECT_EQ(runner.start(windowsPathOf(wrapper), pose, 8, 6), 0);
    EXPECT_EQ(runner.problem, "Cannot write the pose");
    runner.close();
    SetEnvironmentVariableW(L"TMP", wide(windowsPathOf(dir + "/none/")).c_str());
    EXPECT_FALSE(runner.prepare());
    EXPECT_EQ(runner.problem, "No scratch folder");
    EXPECT_NE(runner.error.find(":\n"), std::string::npos) << "no reason: " << runner.error;
    // A PATH of any length is read to its end.
    SetEnvironmentVariableW(L"POVRAY", nullptr);
    std::wstring path = std::wstring(5000, L'x') + L";" + wide(windowsPathOf(dir + "/bin"));
    SetEnvironmentVariableW(L"PATH", path.c_str());
    EXPECT_EQ(runner.findPovray(), windowsPathOf(dir + "/bin/pvengine.exe"));
}

TEST(PovrayRunner, AHungPovrayIsEndedAtItsDeadlineOrWhenCancelledEvenBeforeItsIdIsKnown) {
    // Deaf to SIGTERM, as are the programs it starts.
    std::string hung = dir + "/hung/povray";
    shell(program(hung, "#!/bin/sh\ntrap '' TERM\necho $$ >hung.txt\nsleep 60\n"));
    SetEnvironmentVariableW(L"TMP", wide(windowsPathOf(dir + "/")).c_str());
    PovrayRunner runner;
    for (bool cancel : {true, false}) {
        int number = runner.start(windowsPathOf(hung), pose, 32, 24);
        ASSERT_NE(number, 0) << runner.error;
        std::string group = shellQuoted(unixPathOf(runner.folder()) + "hung.txt");
        if (cancel)
            runner.cancel(number);
        else
            waitFor([&] { return runner.poll(number) == PovrayRunner::TimedOut; }, 15, "deadline");
        waitFor([&] { return !runner.tidy(); }, 8, "the hung render's end");
        shell("for i in $(seq 50); do kill -0 -- -$(cat " + group + ") 2>/dev/null || { rm " +
              group + "; break; }; sleep 0.1; done");
        EXPECT_FALSE(exists(unixPathOf(runner.folder()) + "hung.txt")) << "it still runs";
    }
    EXPECT_EQ(runner.problem, "POV-Ray did not finish");
    std::filesystem::remove_all(std::filesystem::u8path(windowsPathOf(dir)));
}

} // namespace

namespace {

// Poses rendered as the frames of one run are each the picture a run of
// that pose alone gives, in their order; runners prepared at once keep
// folders of their own.
TEST(PovrayRunner, PosesRenderedAsFramesOfOneRunAreEachPosesOwnRender) {
    CreateDirectoryW(wide(windowsPathOf(dir)).c_str(), nullptr);
    SetEnvironmentVariableW(L"TMP", wide(windowsPathOf(dir + "/")).c_str());
    std::string povray = windowsPathOf("/usr/bin/povray");
    PovrayRunner runs[2];
    ASSERT_TRUE(runs[0].prepare() && runs[1].prepare()) << runs[1].error;
    EXPECT_NE(runs[0].folder(), runs[1].folder());
    float poses[3][13];
    for (int i = 0; i < 3; ++i) {
        std::copy(pose, pose + 13, poses[i]);
        poses[i][1] = 15.0f * float(i);
        poses[i][10] = 0.3f * float(i - 1);
    }
    auto render = [&](PovrayRunner& runner, const float* first, int count) {
        int number = runner.start(povray, first, 48, 36, count);
        EXPECT_NE(number, 0) << runner.error;
        PovrayRunner::State state = PovrayRunner::Running;
        waitFor([&] { return (state = runner.poll(number)) != PovrayRunner::Running; }, 30,
                "a render of " + std::to_string(count) + " poses");
        EXPECT_EQ(state, PovrayRunner::Rendered) << runner.error;
        return runner.frames;
    };
    std::vector<RgbImage> frames = render(runs[0], poses[0], 3);
    ASSERT_EQ(frames.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(render(runs[1], poses[i], 1)[0].rgb, frames[std::size_t(i)].rgb) << "pose " << i;
    EXPECT_NE(frames[0].rgb, frames[2].rgb);
    for (PovrayRunner& runner : runs)
        runner.close();
    std::filesystem::remove_all(std::filesystem::u8path(windowsPathOf(dir)));
}

} // namespace
