// The animation core: interpolation promises over random keys, its file and
// its POV-Ray include.
#include "animation/AnimationExport.h"
#include "animation/AnimationFile.h"
#include "animation/PlaybackClock.h"
#include "animation/RulerScale.h"
#include "face/PoseFile.h"
#include "face/PoseText.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Each value's limits in the editor.
const float low[PoseCount] = {-90, -90, -360, 0, -90, -90, -90, -90, -1, -1, -1, -1, -1};
const float high[PoseCount] = {90, 90, 360, 1, 90, 90, 90, 90, 1, 1, 1, 1, 1};

Animation randomAnimation(std::mt19937& random, Interpolation how) {
    Animation animation;
    animation.setSettings({int(random() % 60) + 1, int(random() % 200) + 1, how});
    int keys = int(random() % 8) + 1;
    for (int k = 0; k < keys; ++k) {
        float pose[PoseCount];
        for (int v = 0; v < PoseCount; ++v)
            pose[v] = std::uniform_real_distribution<float>(low[v], high[v])(random);
        animation.setKey(int(random() % unsigned(animation.settings().length)), pose);
    }
    return animation;
}

class AnimationFiles : public TestFolder {
  protected:
    AnimationFiles() : TestFolder("tavok-animation-") {}
    std::string put(const std::string& bytes) const { return TestFolder::put("a.tfa", bytes); }
};

const char* const twoKeys = "TavokFace animation\r\nframes per second: 25\r\n"
                            "length in frames: 100\r\ninterpolation: smooth\r\n"
                            "key 0: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\n"
                            "key 25: <0,0,0>,0.5, 30,90, 30,90, 0, 0, 0, 0, 0\r\n";

} // namespace

TEST(AnimationTiming, InterpolationKeepsItsPromisesOverRandomKeys) {
    std::mt19937 random(29);
    for (int round = 0; round < 300; ++round) {
        Interpolation how = Interpolation(round % 3);
        Animation animation = randomAnimation(random, how);
        const std::vector<TrackKey>& keys = animation.track(TrackEyes).keys();
        for (int frame = 0; frame < animation.settings().length; ++frame) {
            float pose[PoseCount];
            ASSERT_TRUE(animation.poseAt(frame, pose));
            int next = animation.nextKey(frame - 1), before = animation.previousKey(frame + 1);
            for (int v = 0; v < PoseCount; ++v) {
                const AnimationTrack& track = animation.track(trackOfValue(v));
                const TrackKey* a = track.keyAt(before < 0 ? next : before);
                const TrackKey* b = track.keyAt(next < 0 ? before : next);
                double t = a == b ? 0 : double(frame - a->frame) / (b->frame - a->frame);
                float av = a->values[v - track.kind().first],
                      bv = b->values[v - track.kind().first];
                float want = pose[v];
                if (a == b || how == InterpolateHold) want = av;
                if (how == InterpolateLinear) want = float(av + (double(bv) - av) * t);
                bool between = pose[v] >= std::min(av, bv) && pose[v] <= std::max(av, bv);
                bool within = pose[v] >= low[v] && pose[v] <= high[v];
                ASSERT_TRUE(between && within && pose[v] == want)
                    << "round " << round << " frame " << frame << " value " << v << ": " << pose[v]
                    << " keys " << keys.size();
            }
        }
    }
}

TEST(AnimationTiming, KeysMoveOnlyToFreeFramesAndSettingsDropKeysPastTheEnd) {
    Animation animation;
    float pose[PoseCount] = {};
    animation.setKey(10, pose);
    animation.setKey(20, pose);
    EXPECT_FALSE(animation.moveKey(10, 20));
    EXPECT_FALSE(animation.moveKey(10, 100));
    EXPECT_FALSE(animation.setKey(-1, pose));
    EXPECT_TRUE(animation.moveKey(10, 99));
    EXPECT_EQ(animation.previousKey(99), 20);
    animation.setSettings({25, 99, InterpolateHold});
    ASSERT_EQ(animation.track(TrackMouth).keys().size(), 1u);
    EXPECT_EQ(animation.nextKey(0), 20);
}

TEST(AnimationTiming, APressOnAFramesTickPicksThatFrame) {
    for (int width : {120, 350, 640})
        for (int length = 2; length <= 700; ++length) {
            RulerScale ruler{width, 10, length};
            int last = -1;
            for (int frame = 0; frame < length; ++frame) {
                int x = ruler.frameX(frame);
                // Where frames share a pixel, the press picks one of them.
                if (x != ruler.frameX(frame + 1) && x != last) {
                    ASSERT_EQ(ruler.frameAt(x), frame) << width << " " << length;
                }
                last = x;
            }
        }
}

TEST(AnimationTiming, PlaybackAfterAStallDropsTheMissedFramesAndGoesOnInTime) {
    PlaybackClock clock;
    clock.start(0, 25, 1000, 0);
    int drawn = 0;
    for (long long now = 0; now < 1000000; now += 1000)
        drawn += clock.frameDue(now) >= 0;
    EXPECT_EQ(drawn, 25) << "a second at 25 frames per second";
    // A stall of three seconds: the frame then due is drawn, none before it.
    EXPECT_EQ(clock.frameDue(4000000), 100);
    drawn = 0;
    for (long long now = 4000000; now < 4500000; now += 1000)
        drawn += clock.frameDue(now) >= 0;
    EXPECT_EQ(drawn, 12) << "half a second after the stall";
    EXPECT_EQ(clock.frameDue(4040000 + 1), -1);
}

TEST_F(AnimationFiles, SavedAndReadBackIsIdenticalToTheLastByte) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        Animation animation = randomAnimation(random, Interpolation(round % 3)), back;
        ASSERT_EQ(writeAnimationFile(animation, path("a.tfa").c_str()), PoseFileOk);
        ASSERT_EQ(readAnimationFile(back, path("a.tfa").c_str()), PoseFileOk);
        std::string first = fileBytes(path("a.tfa"));
        ASSERT_EQ(writeAnimationFile(back, path("a.tfa").c_str()), PoseFileOk);
        EXPECT_EQ(fileBytes(path("a.tfa")), first);
        EXPECT_TRUE(back == animation) << "every value read back exactly, round " << round;
    }
    Animation two;
    ASSERT_EQ(readAnimationFile(two, put(twoKeys).c_str()), PoseFileOk);
    ASSERT_EQ(writeAnimationFile(two, path("b.tfa").c_str()), PoseFileOk);
    EXPECT_EQ(fileBytes(path("b.tfa")),
              std::string(twoKeys).substr(0, 90) +
                  "eyes 0: <0,0,0>,0.5\r\neyes 25: <0,0,0>,0.5\r\n"
                  "lids 0: 30,-30, 30,-30\r\nlids 25: 30,90, 30,90\r\n"
                  "mouth 0: 0, 0, 0, 0, 0\r\nmouth 25: 0, 0, 0, 0, 0\r\n");
}

TEST_F(AnimationFiles, BadLinesNameTheLineAndLoadNothing) {
    const std::string head = "TavokFace animation\r\nframes per second: 60\r\n"
                             "length in frames: 10000\r\ninterpolation: linear\r\n";
    const std::string key = "key 9999: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0";
    ASSERT_EQ(std::string(twoKeys).substr(0, 20), "TavokFace animation\r");
    struct Bad {
        std::string bytes;
        int line;
        const char* what;
    } const bad[] = {
        {"", 1, "line missing"},
        {"TavokFace pose\r\n", 1, "not an animation file"},
        {"TavokFace animation\r\nframes per second: 61\r\n", 2, "N from 1 to 60"},
        {"TavokFace animation\r\nframes per second: 0\r\n", 2, "N from 1 to 60"},
        {"TavokFace animation\r\nframes per second: 25\r\nlength in frames: 10001\r\n", 3,
         "N from 1 to 10000"},
        {"TavokFace animation\r\nframes per second: 25\r\nlength in frames: -1\r\n", 3,
         "N from 1 to 10000"},
        {"TavokFace animation\r\nframes per second: 25\r\nlength in frames: 9\r\n", 4,
         "line missing"},
        {head.substr(0, head.size() - 8) + "cubic\r\n", 4, "\"hold\""},
        {head + "key 10000: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\n", 5, "past the last"},
        {head + "key 3: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\nkey 3: <0,0,0>,0.5, 30,-30, "
                "30,-30, 0, 0, 0, 0, 0\r\n",
         6, "rising frame order"},
        {head + "key 3: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0\r\n", 5, "number 13 is missing"},
        {head + "key 3: <0,0,0>,nan, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\n", 5, "number 4 is"},
        {head + key + " 7\r\n", 5, "after number 13"},
        {head + "key x: 1\r\n", 5, "expected \"key FRAME"},
        {head + "\r\n", 5, "expected \"key FRAME"},
        {head + "key 1: " + std::string(1100, '1') + "\r\n", 5, "longer than 1023"},
        {head + key + std::string("\0", 1) + "\r\n", 5, "NUL byte"},
        {"TavokFace animation\r\nframes per second: 025\r\n", 2, "N from 1 to 60"},
        {head + "key 09: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\n", 5, "expected \"key"},
        {head + "key 9: < 0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\n", 5, "number 1 is"},
        {head + "key 9: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0,  0\r\n", 5, "number 13 is"},
    };
    for (const Bad& b : bad) {
        Animation animation;
        float pose[PoseCount] = {1};
        animation.setKey(4, pose);
        const Animation before = animation;
        AnimationReadError error;
        EXPECT_EQ(readAnimationFile(animation, put(b.bytes).c_str(), &error), PoseFileDataError)
            << b.bytes;
        EXPECT_EQ(error.line, b.line) << b.bytes;
        EXPECT_NE(error.what.find(b.what), std::string::npos) << b.bytes << "\n" << error.what;
        EXPECT_TRUE(animation == before) << b.bytes;
    }
    // The values that just fit.
    Animation limits;
    ASSERT_EQ(readAnimationFile(limits, put(head + key + "\n\x1a").c_str()), PoseFileOk)
        << "a byte 26 ends the file, as in the pose file";
    EXPECT_EQ(limits.settings().fps, 60);
    EXPECT_EQ(limits.track(TrackEyes).keyAt(9999)->values[PosePupil], 0.5f);
}

TEST_F(AnimationFiles, FailedSaveKeepsWhatWasThere) {
    fs::create_directory(dir / "taken");
    EXPECT_EQ(writeAnimationFile(Animation(), path("taken").c_str()), PoseFileNoAccess);
    EXPECT_EQ(writeAnimationFile(Animation(), path("missing/a.tfa").c_str()), PoseFileNoAccess);
    EXPECT_TRUE(fs::is_directory(dir / "taken"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(AnimationFiles, ExportHoldsTheEditorsPoseOfEveryFrame) {
    std::mt19937 random(9);
    Animation animation = randomAnimation(random, InterpolateSmooth);
    animation.setSettings({25, 100, InterpolateSmooth});
    const float still[PoseCount] = {};
    ASSERT_EQ(writeAnimationIncludeFile(animation, still, path("a.inc").c_str()), PoseFileOk);
    std::istringstream include(fileBytes(path("a.inc")));
    std::string line;
    for (int skip = 0; skip < 3; ++skip)
        std::getline(include, line);
    for (int frame = 0; frame < 100; ++frame) {
        float pose[PoseCount], row[PoseCount];
        ASSERT_TRUE(animation.poseAt(frame, pose));
        ASSERT_TRUE(std::getline(include, line));
        ASSERT_EQ(scanPoseLine(line.c_str(), "{%f,%f,%f,%f,%f,%f,%f,%f,%f,%f,%f,%f,%f}", row),
                  PoseCount);
        EXPECT_EQ(std::memcmp(row, pose, sizeof row), 0) << "frame " << frame;
    }
    int lines = 0;
    while (std::getline(include, line))
        ++lines;
    EXPECT_EQ(lines, 1 + PoseFileLines);
}
