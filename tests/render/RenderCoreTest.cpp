// The render preview's platform-free part: when renders start, where POV-Ray
// and the scene are found, what a failing scene reports, and the pictures
// written as BMP and PNG. Real POV-Ray runs are tested under Wine.
#include "render/Povray.h"
#include "render/Quoting.h"
#include "render/RenderSchedule.h"
#include "render/RgbImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <signal.h>
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
    std::set<std::string> files = {"C:\\pov\\bin\\povray.exe",
                                   "D:\\tools\\povray.exe",
                                   "Z:\\usr\\bin\\povray",
                                   "C:\\app\\povray\\TavokHead.pov",
                                   "C:\\app\\povray\\TavokHead.inc",
                                   "Z:\\src\\povray\\TavokHead.pov",
                                   "Z:\\src\\povray\\TavokHead.inc",
                                   "C:\\half\\povray\\TavokHead.pov",
                                   "C:\\P\\POV-Ray\\v3.7\\bin\\pvengine64.exe"};
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
        // POV-Ray for Windows where it installs itself.
        {"", "C:\\none;C:\\P\\POV-Ray\\v3.7\\bin", "C:\\P\\POV-Ray\\v3.7\\bin\\pvengine64.exe"},
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

TEST(RgbImage, WritesBmpAndPngThatReadBackToTheSamePixels) {
    RgbImage image;
    image.width = 5; // rows of BMP files are padded to four bytes
    image.height = 3;
    for (int i = 0; i < 5 * 3 * 3; ++i)
        image.rgb.push_back(std::uint8_t(i * 37));
    RgbImage again;
    ASSERT_TRUE(again.readBmp(image.bmpBytes()));
    EXPECT_EQ(again.width, 5);
    EXPECT_TRUE(again.rgb == image.rgb);
    // ImageMagick reads our PNG back to the same pixels.
    fs::path dir =
        fs::temp_directory_path() / ("tavok-rgb-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    std::ofstream(dir / "out.png", std::ios::binary) << image.pngBytes();
    std::string convert = "convert " + (dir / "out.png").string() +
                          " -type truecolor bmp3:" + (dir / "back.bmp").string();
    ASSERT_EQ(std::system(convert.c_str()), 0);
    std::ifstream back(dir / "back.bmp", std::ios::binary);
    RgbImage decoded;
    ASSERT_TRUE(decoded.readBmp(std::string(std::istreambuf_iterator<char>(back), {})));
    EXPECT_TRUE(decoded.rgb == image.rgb);
    fs::remove_all(dir);
    // Cut short by one byte, the file is no picture.
    std::string cut = image.bmpBytes();
    cut.pop_back();
    EXPECT_FALSE(again.readBmp(cut));
    EXPECT_TRUE(again.rgb.empty());
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

TEST(Povray, NamesReachTheShellAsTextAndOnlyTheRendersRunningGroupIsSignalled) {
    fs::path dir = fs::temp_directory_path() / ("tavok-sh-" + std::to_string(getpid()));
    std::string name = "c';touch PWNED;'d \"$(touch PWNED)\" `touch PWNED` \xd1\x82\xe6\x97\xa5";
    fs::create_directories(dir / name);
    std::ofstream(dir / name / "povray") << "#!/bin/sh\necho \"$2\" >ran.txt\n";
    fs::permissions(dir / name / "povray", fs::perms::owner_all);
    ASSERT_EQ(
        sh(dir, unixRenderScript((dir / name / "povray").string(), name, 8, 6, "l", "p", "s")), 0);
    std::string ran;
    EXPECT_EQ(std::getline(std::ifstream(dir / "ran.txt"), ran) ? ran : "", "+O" + name);
    EXPECT_FALSE(fs::exists(dir / "PWNED"));
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
