// The render preview's platform-free part: when renders start, where POV-Ray
// and the scene are found, what a failing scene reports, and the pictures
// read from POV-Ray and written again.
#include "render/Povray.h"
#include "render/RenderSchedule.h"
#include "render/RgbImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// A preview's life on a simulated clock: edits at `changes` (ms), renders
// that take `renderTime`, the clock ticking every 10 ms. Which pose (the
// count of changes so far) each started render shows, and how many renders
// were ended early.
struct Timeline {
    std::vector<int> rendered;
    int cancels = 0;
    bool idleAtEnd = false;
};

Timeline simulate(const std::vector<int>& changes, int renderTime) {
    RenderSchedule schedule(300);
    Timeline run;
    int pose = 0, renderingPose = 0, doneAt = -1;
    std::size_t next = 0;
    for (int now = 0; now <= 5000; now += 10) {
        for (; next < changes.size() && changes[next] <= now; ++next) {
            ++pose;
            if (schedule.poseChanged(now)) {
                schedule.cancelled();
                ++run.cancels;
                doneAt = -1;
            }
        }
        if (doneAt >= 0 && now >= doneAt) {
            doneAt = -1;
            if (schedule.finished()) run.rendered.push_back(renderingPose);
        }
        if (schedule.shouldStart(now)) {
            schedule.started();
            renderingPose = pose;
            doneAt = now + renderTime;
        }
    }
    run.idleAtEnd = schedule.idle();
    return run;
}

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs Debian's povray on `poseText` with the preview's own options; the
// folder it ran in.
fs::path renderNatively(const std::string& name, const std::string& poseText) {
    fs::path dir = fs::temp_directory_path() / ("tavok-render-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* file : {"TavokHead.pov", "TavokHead.inc"})
        fs::copy_file(fs::path(TAVOK_SCENE_DIR) / file, dir / file);
    std::ofstream(dir / "pose.txt", std::ios::binary) << poseText;
    std::string command = "cd " + dir.string() + " && " +
                          renderCommand(TAVOK_POVRAY, "out.bmp", 64, 48) + " >log.txt 2>&1";
    EXPECT_GE(std::system(command.c_str()), 0);
    return dir;
}

} // namespace

TEST(RenderSchedule, RendersTheLastPoseOnceTheEditsPause) {
    // Ten presses 100 ms apart, then nothing: one render, of the tenth pose.
    std::vector<int> quick;
    for (int i = 0; i < 10; ++i)
        quick.push_back(100 + 100 * i);
    Timeline run = simulate(quick, 800);
    EXPECT_EQ(run.rendered, std::vector<int>{10});
    EXPECT_EQ(run.cancels, 0);
    EXPECT_TRUE(run.idleAtEnd);
}

TEST(RenderSchedule, AChangeDuringARenderEndsItAndTheNewestPoseFollows) {
    // The second change comes 500 ms into the first render (started at 400).
    Timeline run = simulate({100, 900}, 800);
    EXPECT_EQ(run.rendered, std::vector<int>{2});
    EXPECT_EQ(run.cancels, 1);
    EXPECT_TRUE(run.idleAtEnd);
}

TEST(RenderSchedule, StartsExactlyWhenThePauseIsOver) {
    RenderSchedule schedule(300);
    EXPECT_FALSE(schedule.shouldStart(10000)) << "nothing changed yet";
    schedule.poseChanged(1000);
    EXPECT_FALSE(schedule.shouldStart(1299));
    EXPECT_TRUE(schedule.shouldStart(1300));
    schedule.started();
    EXPECT_FALSE(schedule.shouldStart(5000)) << "one render at a time";
    // A render that finishes after a newer change is stale: not shown, and
    // the newer pose is rendered next.
    EXPECT_TRUE(schedule.poseChanged(1400));
    EXPECT_FALSE(schedule.finished());
    EXPECT_FALSE(schedule.idle());
    EXPECT_TRUE(schedule.shouldStart(1700));
    schedule.started();
    EXPECT_TRUE(schedule.finished());
    EXPECT_TRUE(schedule.idle());
}

TEST(Povray, FindsTheProgramByVariableThenOnThePath) {
    std::set<std::string> files = {"C:\\pov\\bin\\povray.exe", "D:\\tools\\povray.exe",
                                   "Z:\\usr\\bin\\povray"};
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
}

TEST(Povray, MapsUnixPathsToDriveZAndBack) {
    EXPECT_EQ(unixPathOf(windowsPathOf("/usr/bin/povray")), "/usr/bin/povray");
    EXPECT_EQ(unixPathOf("z:\\tmp"), "/tmp");
    EXPECT_EQ(unixPathOf("C:\\windows"), "");
}

TEST(Povray, FindsTheSceneBesideTheProgramElseInTheSources) {
    std::set<std::string> files = {
        "C:\\app\\povray\\TavokHead.pov", "C:\\app\\povray\\TavokHead.inc",
        "Z:\\src\\povray\\TavokHead.pov", "Z:\\src\\povray\\TavokHead.inc",
        "C:\\half\\povray\\TavokHead.pov"};
    FileTest isFile = [&](const std::string& path) { return files.count(path) > 0; };
    EXPECT_EQ(findSceneFolder("C:\\app\\", "Z:\\src\\povray", isFile), "C:\\app\\povray");
    EXPECT_EQ(findSceneFolder("C:\\half", "Z:\\src\\povray", isFile), "Z:\\src\\povray");
    EXPECT_EQ(findSceneFolder("C:\\half", "Z:\\none", isFile), "");
}

TEST(Povray, AFailingSceneReportsPovraysErrorLines) {
    fs::path dir = renderNatively("broken", "<0,0,0>,0.5,\nnonsense\n");
    std::string lines = errorLines(contents(dir / "log.txt"), 4);
    EXPECT_NE(lines.find("Parse Error"), std::string::npos) << lines;
    EXPECT_EQ(lines.find("Rendered"), std::string::npos) << lines;
    EXPECT_FALSE(fs::exists(dir / "out.bmp"));
    fs::remove_all(dir);
    // Progress lines overwritten by carriage returns count by their last state.
    EXPECT_EQ(errorLines("a\nb\n10%\r20%\r\n----\nc\n", 2), "20%\nc");
}

TEST(RgbImage, ReadsPovraysBmpAndWritesItAgainAsBmpAndPng) {
    fs::path dir = renderNatively("image", "<0,0,0>,0.5,\n30,-30,\n30,-30,\n0,\n0,\n0,\n0,\n0\n");
    RgbImage image;
    ASSERT_TRUE(image.readBmp(contents(dir / "out.bmp"))) << contents(dir / "log.txt");
    EXPECT_EQ(image.width, 64);
    EXPECT_EQ(image.height, 48);
    // The BMP we write reads back to the same pixels.
    RgbImage again;
    ASSERT_TRUE(again.readBmp(image.bmpBytes()));
    EXPECT_TRUE(again.rgb == image.rgb);
    // ImageMagick reads our PNG back to the same pixels.
    std::ofstream(dir / "out.png", std::ios::binary) << image.pngBytes();
    RgbImage decoded;
    std::string convert = "convert " + (dir / "out.png").string() +
                          " -type truecolor bmp3:" + (dir / "back.bmp").string();
    ASSERT_EQ(std::system(convert.c_str()), 0);
    ASSERT_TRUE(decoded.readBmp(contents(dir / "back.bmp")));
    EXPECT_TRUE(decoded.rgb == image.rgb);
    // Cut short by one byte, the file is no picture.
    std::string cut = contents(dir / "out.bmp");
    cut.pop_back();
    EXPECT_FALSE(image.readBmp(cut));
    EXPECT_TRUE(image.rgb.empty());
    fs::remove_all(dir);
}
