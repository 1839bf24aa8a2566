// The platform-free part of rendering an animation.
#include "animrender/Assembly.h"
#include "animrender/FramePlan.h"
#include "animrender/FramePool.h"
#include "animrender/FrameStamp.h"
#include "animrender/GifTiming.h"
#include "animrender/RenderProgress.h"
#include "animrender/SlurmScript.h"
#include "render/Quoting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <random>

TEST(FramePlan, EveryFrameOnceInFairConsecutiveShares) {
    std::mt19937 random(30);
    for (int run = 0; run < 2000; ++run) {
        int first = int(random() % 50), last = first + int(random() % 300),
            jobs = 1 + int(random() % 40);
        std::vector<FrameRange> ranges = splitFrames({first, last}, jobs);
        ASSERT_EQ(int(ranges.size()), std::min(jobs, last - first + 1));
        int next = first;
        for (const FrameRange& range : ranges) {
            ASSERT_EQ(range.first, next);
            ASSERT_LE(std::abs(range.count() - ranges[0].count()), 1);
            next = range.last + 1;
        }
        ASSERT_EQ(next, last + 1);
    }
}

TEST(FramePlan, FramesLeftToRenderSharedInRunsWithoutGaps) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<int> frames;
        for (int frame = 0; frame < 60; ++frame)
            if (random() % 3) frames.push_back(frame);
        int jobs = 1 + int(random() % 12);
        std::vector<int> covered;
        auto shares = shareFrames(frames, jobs);
        ASSERT_LE(int(shares.size()), jobs);
        for (const auto& runs : shares)
            for (FrameRange run : runs)
                for (int frame = run.first; frame <= run.last; ++frame)
                    covered.push_back(frame);
        ASSERT_EQ(covered, frames) << "each left frame once, in order, and no other";
    }
    EXPECT_EQ(shareFrames({0, 1, 2, 5, 6, 9}, 2),
              (std::vector<std::vector<FrameRange>>{{{0, 2}}, {{5, 6}, {9, 9}}}));
}

TEST(FramePool, FramesSharedOnceAsForTheCapWhateverTheIdleTime) {
    std::mt19937 random(15);
    for (int round = 0; round < 500; ++round) {
        std::vector<int> frames;
        for (int frame = 0, count = int(random() % 400); frame < count; ++frame)
            if (random() % 4) frames.push_back(frame);
        int cores = 1 + int(random() % 16), forced = random() % 2 ? 0 : 1 + int(random() % 12);
        FramePool pool(frames, cores, forced);
        std::vector<std::vector<FrameRange>> shares;
        for (int processes = pool.processes(); !pool.empty();) {
            pool.idle(double(random() % 101) / 100);
            ASSERT_GE(pool.processes(), processes) << "never fewer";
            ASSERT_LE(pool.processes(), forced ? forced : std::min(8 * cores, 32));
            processes = pool.processes();
            shares.push_back(pool.take());
        }
        // One POV-Ray start per share, however many processes render them.
        ASSERT_EQ(shares, shareFrames(frames, forced ? forced : FramePool::cap(cores)));
        ASSERT_TRUE(pool.take().empty());
        if (forced) {
            ASSERT_EQ(pool.processes(), forced) << "--jobs as before";
        }
    }
}

TEST(FramePool, HalfTheCapOrForSmallFramesAllAtFirstThenMoreWhileTheMachineIdles) {
    struct {
        int cores;
        std::vector<double> idle;
        int processes;
        long pixels = 0;
    } table[] = {
        {2, {}, 16, 320 * 240},    // small frames
        {2, {}, 8, 320 * 240 + 1}, //
        {1, {}, 4},
        {2, {}, 8},
        {16, {}, 16},
        {2, {0.05}, 8},      // noise
        {2, {0.2}, 10},      // fills the rest
        {4, {0.4}, 27},      //
        {2, {0.9}, 16},      // the cap
        {2, {1.0}, 16},      //
        {2, {0.3, 0.0}, 12}, // a busy machine: no more
    };
    for (const auto& row : table) {
        FramePool pool(std::vector<int>(100), row.cores, 0, row.pixels);
        for (double share : row.idle)
            pool.idle(share);
        EXPECT_EQ(pool.processes(), row.processes) << row.cores << " cores, " << row.idle.size();
    }
}

TEST(SlurmScript, FarmTasksLongEnoughToOutweighTheirStartWhileNodesGetWork) {
    struct {
        int frames, width, height, forced;
        int tasks, largest; // frames in the largest task
    } table[] = {
        {1, 160, 120, 0, 1, 1},    {100, 160, 120, 0, 2, 50},        {100, 320, 240, 0, 3, 34},
        {100, 640, 480, 0, 5, 20}, {1000, 640, 480, 0, 48, 21},      {100, 1920, 1080, 0, 25, 4},
        {10, 3840, 2160, 0, 5, 2}, {100000, 640, 480, 0, 1000, 100}, // Slurm's limit
        {7, 64, 48, 3, 3, 3},      {2000, 64, 48, 2000, 1000, 2},    // --jobs
    };
    for (const auto& row : table) {
        FrameRender render;
        render.width = row.width;
        render.height = row.height;
        std::vector<FrameRange> tasks = farmTasks(row.frames, render, row.forced);
        EXPECT_EQ(int(tasks.size()), row.tasks) << row.frames << " at " << row.width;
        EXPECT_EQ(tasks.empty() ? 0 : tasks[0].count(), row.largest)
            << row.frames << " at " << row.width;
        EXPECT_EQ(tasks.empty() ? -1 : tasks.back().last, row.frames - 1);
    }
}

TEST(FrameStamp, AFrameSaysWhatItWasRenderedFrom) {
    const std::string ihdr("\0\0\0\x0dIHDR\0\0\0\x40\0\0\0\x30\x08\x02\0\0\0\x12\x34\x56\x78", 25);
    const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + ihdr + "rest";
    FrameRender render;
    std::string stamp = renderStamp("poses", render);
    std::string stamped = stampPng(png, stamp);
    EXPECT_EQ(pngStamp(stamped.substr(0, PngStampSize)), stamp);
    EXPECT_EQ(stamped.substr(0, 33) + stamped.substr(33 + 45), png) << "the chunk only is added";
    // The chunk as PNG readers check it (its CRC from Python's zlib.crc32).
    EXPECT_EQ(stamp, "7461fb333efec61f");
    EXPECT_EQ(stamped.substr(33 + 41, 4), "\x56\xa1\xb1\x3e");
    EXPECT_EQ(pngStamp(png), "");
    EXPECT_EQ(stampPng("GIF89a" + ihdr, stamp), "");
    FrameRender other = render;
    other.antialias = false;
    EXPECT_NE(renderStamp("poses", other), stamp);
    other = render;
    other.width += 1;
    EXPECT_NE(renderStamp("poses", other), stamp);
    EXPECT_NE(renderStamp("poses!", render), stamp);
}

TEST(FramePlan, NamesAsPovRayWritesThem) {
    // Read off POV-Ray 3.7's own output for +KFI0 +KFF<last>.
    struct Case {
        int frame, last;
        const char* name;
    } cases[] = {{0, 0, "blink.png"},      {5, 9, "blink5.png"},    {3, 11, "blink03.png"},
                 {7, 100, "blink007.png"}, {99, 99, "blink99.png"}, {42, 9999, "blink0042.png"}};
    for (const Case& c : cases)
        EXPECT_EQ(frameFileName("blink", c.frame, c.last), c.name) << c.frame << " of " << c.last;
    // Two animations in one folder never share a name, whatever their stems.
    std::mt19937 random(1);
    std::map<std::string, std::pair<std::string, int>> owners;
    for (int round = 0; round < 20000; ++round) {
        std::string stem;
        for (int length = 1 + int(random() % 4); length > 0; --length)
            stem += "a1-"[random() % 3];
        int last = int(random() % 1200), frame = int(random() % (last + 1));
        auto owner = owners.emplace(frameFileName(stem, frame, last), std::pair{stem, frame});
        ASSERT_EQ(owner.first->second, std::pair(stem, frame)) << owner.first->first;
    }
}

TEST(FramePlan, PovRayCommandLinesAsTheyAreStarted) {
    // POV-Ray for Windows as its documentation describes it: /RENDER names
    // the scene, /EXIT closes its window after the render, +GA takes its
    // messages; it cannot run here.
    struct Case {
        const char* povray;
        const char* line;
    } cases[] = {
        {"povray", "povray +ITavokHead.pov +Oframe.png +FN +W64 +H48 +A0.1 Declare=Animation=1 "
                   "+KFI0 +KFF99 +SF10 +EF19 +WT1 -D -P -V"},
        {"C:\\Program Files\\POV-Ray\\v3.7\\bin\\pvengine64.exe",
         "\"C:\\Program Files\\POV-Ray\\v3.7\\bin\\pvengine64.exe\" /EXIT /RENDER TavokHead.pov "
         "+Oframe.png +FN +W64 +H48 +A0.1 Declare=Animation=1 +KFI0 +KFF99 +SF10 +EF19 +WT1 -D -P "
         "-V +GApovray-1.log"},
    };
    for (const Case& c : cases) {
        FrameRender render;
        render.povray = c.povray;
        render.stem = "it's my blink";
        render.width = 64;
        render.height = 48;
        render.lastFrame = 99;
        EXPECT_EQ(windowsLine(povrayFrameArgs(render, {10, 19}, "povray-1.log")), c.line);
    }
}

TEST(RenderProgress, TimeLeftFollowsThePaceSoFar) {
    RenderProgress progress(100, 10.0);
    EXPECT_EQ(progress.timeText(13.5), "0:04 elapsed, ... left");
    for (int i = 0; i < 12; ++i)
        progress.frameDone();
    EXPECT_EQ(progress.frameText(), "Frame 12 of 100");
    EXPECT_DOUBLE_EQ(progress.secondsLeft(16.0), 44.0);
    EXPECT_EQ(progress.timeText(16.0), "0:06 elapsed, 0:44 left");
    EXPECT_EQ(clockText(3723.2), "1:02:04");
    EXPECT_EQ(clockText(0), "0:00");
}

TEST(Assembly, GifDelaysKeepTheFrameRateOverTime) {
    EXPECT_EQ(gifDelays(4, 30), (std::vector<int>{3, 4, 3, 3}));
    for (int fps = 1; fps <= 60; ++fps) {
        std::vector<int> delays = gifDelays(3 * fps, fps);
        int total = 0;
        for (std::size_t i = 0; i < delays.size(); ++i) {
            total += delays[i];
            ASSERT_EQ(total, std::lround(100.0 * double(i + 1) / fps)) << fps << " fps";
        }
    }
}

TEST(Assembly, GifNeverPlaysADelayBelowTwoAndKeepsEachFrameOnItsTime) {
    std::mt19937 random(37);
    for (int run = 0; run < 3000; ++run) {
        int frames = 1 + int(random() % 300), fps = 1 + int(random() % 120);
        GifPlan plan = gifPlan(frames, fps);
        ASSERT_EQ(plan.frames.size(), plan.delays.size());
        ASSERT_EQ(plan.frames.size(), fps <= 50 ? std::size_t(frames) : plan.frames.size());
        int shownAt = 0; // hundredths
        for (std::size_t j = 0; j < plan.frames.size(); ++j) {
            int frame = plan.frames[j];
            ASSERT_GE(plan.delays[j], 2) << fps << " fps, image " << j;
            ASSERT_TRUE(j == 0 || frame > plan.frames[j - 1]);
            // Shown within a hundredth of when the animation shows it.
            ASSERT_GE(shownAt, 100.0 * frame / fps - 1) << fps << " fps, frame " << frame;
            ASSERT_LT(shownAt, 100.0 * (frame + 1) / fps + 1) << fps << " fps, frame " << frame;
            shownAt += plan.delays[j];
        }
        ASSERT_NEAR(shownAt, 100.0 * frames / fps, 2.0) << fps << " fps";
    }
}

TEST(GifTiming, DelaysAndLoopSetOnAnyGif) {
    // ImageMagick's GIFs with and without timing blocks, as the platform's
    // encoder may write them.
    for (const char* options : {"-delay 7 -loop 0", "+set delay -loop 1 -strip"}) {
        std::string command = std::string("convert ") + options +
                              " xc:red xc:blue xc:lime -scale 8x6 gif:- 2>/dev/null";
        std::string gif;
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[4096];
        for (std::size_t got; pipe && (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            gif.append(buffer, got);
        ASSERT_TRUE(pipe && pclose(pipe) == 0 && !gif.empty()) << command;
        EXPECT_FALSE(setGifTiming(gif, {4, 4})) << "a delay for each image";
        ASSERT_TRUE(setGifTiming(gif, {3, 4, 300})) << options;
        GifTiming timing;
        ASSERT_TRUE(readGifTiming(gif, timing));
        EXPECT_EQ(timing.delays, (std::vector<int>{3, 4, 300})) << options;
        EXPECT_TRUE(timing.loops) << options;
        std::FILE* identify = popen("identify -format '%T %s;' gif:- > gif-timing.txt", "w");
        fwrite(gif.data(), 1, gif.size(), identify);
        ASSERT_EQ(pclose(identify), 0) << "identify read the patched GIF";
        std::ifstream read("gif-timing.txt");
        std::string shown((std::istreambuf_iterator<char>(read)), {});
        EXPECT_EQ(shown, "3 0;4 1;300 2;") << options;
    }
}
