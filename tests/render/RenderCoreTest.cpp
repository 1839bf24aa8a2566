// The render preview's platform-free part: when renders start, where POV-Ray
// and the scene are found, and what a failing scene reports. Real POV-Ray
// runs and their pictures are tested under Wine.
#include "render/Povray.h"
#include "render/RenderSchedule.h"

#include <gtest/gtest.h>

#include <set>

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
        "Z:\\src\\povray\\TavokHead.inc", "C:\\half\\povray\\TavokHead.pov"};
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
    };
    for (const Case& c : cases)
        EXPECT_EQ(findProgram(c.variable, c.path, ';', "povray.exe", isFile), c.found)
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
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorLines(c.log, c.count), c.lines) << c.log;
}
