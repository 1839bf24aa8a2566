// The render preview's platform-free part: when renders start, where POV-Ray
// and the scene are found, and what a failing scene reports. Real POV-Ray
// runs and their pictures are tested under Wine.
#include "render/Povray.h"
#include "render/Quoting.h"
#include "render/RenderSchedule.h"
#include "render/RgbImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(RenderSchedule, RendersTheLastPoseOnceTheEditsPauseAndANewerChangeEndsARender) {
    RenderSchedule schedule(300);
    EXPECT_FALSE(schedule.shouldStart(10000)) << "nothing changed yet";
    EXPECT_FALSE(schedule.poseChanged(1000)) << "nothing to end";
    EXPECT_FALSE(schedule.poseChanged(1200));
    EXPECT_FALSE(schedule.shouldStart(1499)) << "every change restarts the pause";
    EXPECT_TRUE(schedule.shouldStart(1500));
    schedule.started();
    EXPECT_FALSE(schedule.shouldStart(5000)) << "one render at a time";
    // A change during the render ends it; the newer pose is rendered next.
    EXPECT_TRUE(schedule.poseChanged(1600));
    schedule.cancelled();
    EXPECT_FALSE(schedule.idle());
    EXPECT_FALSE(schedule.shouldStart(1899));
    EXPECT_TRUE(schedule.shouldStart(1900));
    schedule.started();
    // A render that finishes after a newer change is stale: not shown.
    EXPECT_TRUE(schedule.poseChanged(2000));
    EXPECT_FALSE(schedule.finished());
    EXPECT_FALSE(schedule.idle());
    EXPECT_TRUE(schedule.shouldStart(2300));
    schedule.started();
    EXPECT_TRUE(schedule.finished());
    EXPECT_TRUE(schedule.idle());
    EXPECT_FALSE(schedule.shouldStart(9000)) << "the last pose is rendered once";
}

TEST(Povray, FindsTheProgramByVariableThenOnThePathAndTheSceneBesideItElseInTheSources) {
    std::set<std::string> files = {
        "C:\\pov\\bin\\povray.exe",       "D:\\tools\\povray.exe",
        "Z:\\usr\\bin\\povray",           "C:\\app\\povray\\TavokHead.pov",
        "C:\\app\\povray\\TavokHead.inc", "Z:\\src\\povray\\TavokHead.pov",
        "Z:\\src\\povray\\TavokHead.inc", "C:\\half\\povray\\TavokHead.pov",
        "C:\\pv\\pvengine64.exe"};
    FileTest isFile = [&](const std::string& path) { return files.count(path) > 0; };
    struct Case {
        const char* variable;
        const char* path;
        const char* found;
    } cases[] = {
        {"", "C:\\none;;D:\\tools\\;C:\\pov\\bin", "D:\\tools\\povray.exe"},
        {"", "C:\\pov\\bin;D:\\tools", "C:\\pov\\bin\\povray.exe"},
        {"", "C:\\none", ""},
        {"", "", ""},
        // The variable wins, and a variable naming nothing finds nothing.
        {"Z:\\usr\\bin\\povray", "D:\\tools", "Z:\\usr\\bin\\povray"},
        {"C:\\missing.exe", "D:\\tools", ""},
        // POV-Ray for Windows' own program.
        {"", "C:\\none;C:\\pv", "C:\\pv\\pvengine64.exe"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findProgram(c.variable, c.path, ';', povrayNames, isFile), c.found)
            << c.variable << " | " << c.path;
    EXPECT_EQ(findSceneFolder("C:\\app\\", "Z:\\src\\povray", isFile), "C:\\app\\povray");
    EXPECT_EQ(findSceneFolder("C:\\half", "Z:\\src\\povray", isFile), "Z:\\src\\povray");
    EXPECT_EQ(findSceneFolder("C:\\half", "Z:\\none", isFile), "");
    // A Unix POV-Ray under Wine is named on drive Z:.
    EXPECT_EQ(unixPathOf(windowsPathOf("/usr/bin/povray")), "/usr/bin/povray");
    EXPECT_EQ(unixPathOf("z:\\tmp"), "/tmp");
    EXPECT_EQ(unixPathOf("C:\\windows"), "");
}

TEST(Povray, ReportsTheLastLinesFromTheFirstError) {
    struct Case {
        const char* log;
        int count;
        const char* lines;
    } cases[] = {
        {"a\nb\nc\n", 2, "b\nc"},
        {"Parsing\nParse Error: x\n----\nmore\n", 4, "Parse Error: x\nmore"},
        // Progress lines overwritten by carriage returns count by their last state.
        {"a\nb\n10%\r20%\r\n----\nc\n", 2, "20%\nc"},
        // More lines after the error than fit: the error line stays first.
        {"Parse Error: a\n1\n2\n3\n4\n5\n6\n7\n", 6, "Parse Error: a\n3\n4\n5\n6\n7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorLines(c.log, c.count), c.lines) << c.log;
}

TEST(Povray, CommandLinesForConsolePovrayAndPovrayForWindows) {
    std::pair<const char*, const char*> cases[] = {
        {"C:\\pov\\povray.exe",
         "C:\\pov\\povray.exe +ITavokHead.pov +Oout-1.bmp +FB +W320 +H240 -D -P +WT1"},
        {"C:\\Program Files\\POV-Ray\\v3.7\\bin\\pvengine64.exe",
         "\"C:\\Program Files\\POV-Ray\\v3.7\\bin\\pvengine64.exe\" /EXIT /RENDER TavokHead.pov "
         "+Oout-1.bmp +FB +W320 +H240 -D -P +WT1 +GAlog-1.txt"},
        {"D:\\a \"b\\PVENGINE.EXE", "\"D:\\a \\\"b\\PVENGINE.EXE\" /EXIT /RENDER TavokHead.pov "
                                    "+Oout-1.bmp +FB +W320 +H240 -D -P +WT1 +GAlog-1.txt"},
    };
    for (const auto& [program, line] : cases)
        EXPECT_EQ(renderCommand(program, "out-1.bmp", 320, 240, "log-1.txt"), line);
}

int sh(const fs::path& dir, const std::string& script, const char* end = "") {
    return std::system(
        ("cd " + shellQuoted(dir.string()) + " && sh -c " + shellQuoted(script) + end).c_str());
}

TEST(Povray, ARenderEndsOnceItsStarterStopsTouchingItsFile) {
    fs::path dir = fs::temp_directory_path() / ("tavok-orphan-" + std::to_string(getpid()));
    fs::create_directories(dir);
    // Starts `sleep 30` watched through the file "alive", with the programs
    // in `bin` first on the path.
    auto start = [&](const std::string& bin) {
        fs::remove(dir / "end");
        std::string path = bin.empty() ? "" : "PATH=\"$PWD/" + bin + ":$PATH\"\n";
        EXPECT_EQ(sh(dir,
                     path + unixRunScript({"/bin/sleep", "30"}, "log", "group", "end", "alive", 2),
                     " &"),
                  0);
    };
    auto endsWithin = [&](double seconds) {
        for (int i = 0; i < seconds * 100 && !fs::exists(dir / "end"); ++i)
            usleep(10000);
        return fs::exists(dir / "end");
    };
    auto program = [&](const std::string& bin, const std::string& name, const std::string& text) {
        fs::create_directories(dir / bin);
        std::ofstream(dir / bin / name) << "#!/bin/sh\n" << text << "\n";
        fs::permissions(dir / bin / name, fs::perms::owner_all);
    };
    std::ofstream(dir / "alive") << "";
    start("");
    std::thread toucher([&] {
        // Touched for 3 s, then left: the starter has gone.
        for (int i = 0; i < 30; ++i, usleep(100000))
            fs::last_write_time(dir / "alive", fs::file_time_type::clock::now());
    });
    EXPECT_FALSE(endsWithin(3)) << "ended while its starter still ran";
    toucher.join();
    int group = 0;
    std::ifstream(dir / "group") >> group;
    EXPECT_GT(group, 1) << "the group's id";
    EXPECT_TRUE(endsWithin(6)) << "the render still ran 6 s after its starter went";
    EXPECT_TRUE(group <= 1 || kill(-group, SIGKILL) != 0) << "the render outlived its starter";
    // A file removed under it (a new run clearing the folder) ends it too,
    // even before the group has written its id (a slow start here).
    fs::remove(dir / "alive");
    program("slow", "setsid", "/bin/sleep 1\nexec /usr/bin/setsid \"$@\"");
    start("slow");
    EXPECT_TRUE(endsWithin(5)) << "the render still ran 5 s after its file went";
    // A loaded machine stretches each turn of the watcher (its sleep takes
    // 4 s here): seconds count, not turns, which would take 8 s.
    program("bin", "sleep", "exec /bin/sleep 4");
    std::ofstream(dir / "alive") << "";
    start("bin");
    EXPECT_TRUE(endsWithin(6.5)) << "the render still ran 6.5 s after its starter went";
    fs::remove_all(dir);
}

TEST(Povray, OnlyTheRendersRunningGroupIsSignalled) {
    fs::path dir = fs::temp_directory_path() / ("tavok-sh-" + std::to_string(getpid()));
    fs::create_directories(dir);
    ASSERT_EQ(sh(dir, unixRunScript({"sleep", "30"}, "log", "group", "end"), " &"), 0);
    int group = 0;
    for (int i = 0; i < 500 && !group; ++i, usleep(10000))
        std::ifstream(dir / "group") >> group;
    ASSERT_GT(group, 1) << "the group's id within 5 s";
    // Once its status says the render ended, its group is not signalled.
    std::ofstream(dir / "ended") << "0\n";
    sh(dir, unixSignalScript(group, "KILL", "ended"));
    EXPECT_EQ(kill(-group, SIGKILL), 0) << "signalled although its status says it ended";
    for (int i = 0; i < 500 && !fs::exists(dir / "end"); ++i)
        usleep(10000);
    fs::remove_all(dir);
}

// Each block of pixels as the rounded mean of those the picture has.
TEST(RgbImage, ShrunkTakesEachBlocksMeanEvenAPartialOne) {
    RgbImage image;
    image.width = 3, image.height = 2;
    image.rgb = {0, 0, 0, 10, 20, 30, 200, 0, 255, 0, 0, 1, 10, 20, 31, 100, 0, 0};
    RgbImage small = image.shrunk(2);
    EXPECT_EQ(small.width, 2);
    EXPECT_EQ(small.height, 1);
    EXPECT_EQ(small.rgb, (std::vector<std::uint8_t>{5, 10, 16, 150, 0, 128}));
    EXPECT_EQ(image.shrunk(1).rgb, image.rgb);
}
