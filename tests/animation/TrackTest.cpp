// The animation's tracks: each track's values hang on its own keys alone, the
// older files read to the same pose at every frame, and the file's track and
// sound lines are read strictly.
#include "animation/AnimationFile.h"
#include "face/PoseFile.h"
#include "face/PoseText.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

float randomValue(std::mt19937& random) {
    return std::uniform_real_distribution<float>(-1, 1)(random);
}

// Random keys on `track` (every track: AllTracks), each key its own values.
void addKeys(Animation& animation, int track, std::mt19937& random) {
    for (int k = int(random() % 6); k > 0; --k) {
        float pose[PoseCount];
        for (float& value : pose)
            value = randomValue(random);
        animation.setKey(int(random() % unsigned(animation.settings().length)), pose, track);
    }
}

// `track`'s values at `frame`, with `fill` where the track has no keys.
std::vector<float> trackAt(const Animation& animation, int track, int frame, float fill) {
    float pose[PoseCount];
    std::fill(pose, pose + PoseCount, fill);
    animation.poseAt(frame, pose);
    const TrackKind& kind = trackKinds[track];
    return std::vector<float>(pose + kind.first, pose + kind.first + kind.count);
}

// The older writer's line: the frame, then the pose file's lines joined.
std::string olderKeyLine(int frame, const float* pose) {
    std::string line = "key " + std::to_string(frame) + ":";
    for (int number = 1; number <= PoseFileLines; ++number) {
        char text[256];
        formatPoseFileLine(text, sizeof text, number, pose, true);
        line += std::string(" ") + text;
    }
    return line + "\r\n";
}

class TrackFiles : public TestFolder {
  protected:
    TrackFiles() : TestFolder("tavok-tracks-") {}
};

const std::string head = "TavokFace animation\r\nframes per second: 25\r\n"
                         "length in frames: 100\r\ninterpolation: smooth\r\n";

} // namespace

TEST(Tracks, EachTracksValuesAtEveryFrameHangOnItsOwnKeysAlone) {
    std::mt19937 random(39);
    for (int round = 0; round < 300; ++round) {
        AnimationSettings settings{25, int(random() % 120) + 1, Interpolation(round % 3)};
        Animation one, other;
        one.setSettings(settings);
        other.setSettings(settings);
        for (int t = 0; t < TrackCount; ++t) {
            addKeys(one, t, random);
            addKeys(other, t, random);
        }
        for (int t = 0; t < TrackCount; ++t) {
            // `mixed` has one's keys on track t and other's on the rest.
            Animation mixed = other;
            for (int frame = 0; frame < settings.length; ++frame)
                mixed.removeKey(frame, t);
            for (const TrackKey& key : one.track(t).keys())
                mixed.setTrackKey(t, key.frame, key.values);
            for (int frame = 0; frame < settings.length; ++frame)
                ASSERT_EQ(trackAt(mixed, t, frame, 7), trackAt(one, t, frame, 7))
                    << "round " << round << " track " << trackKinds[t].name << " frame " << frame;
        }
    }
}

TEST_F(TrackFiles, AnOlderFileReadsToTheSamePoseAtEveryFrameAndSavesAsTracks) {
    std::mt19937 random(12);
    for (int round = 0; round < 60; ++round) {
        Animation whole;
        whole.setSettings({25, 100, Interpolation(round % 3)});
        addKeys(whole, AllTracks, random);
        const char* const names[] = {"smooth", "linear", "hold"};
        std::string older = head.substr(0, head.size() - 8) + names[round % 3] + "\r\n";
        float pose[PoseCount];
        for (int frame = 0; frame < 100; ++frame)
            if (whole.hasKey(frame) && whole.poseAt(frame, pose))
                older += olderKeyLine(frame, pose);
        Animation read, again;
        ASSERT_EQ(readAnimationFile(read, put("old.tfa", older).c_str()), PoseFileOk) << older;
        ASSERT_EQ(writeAnimationFile(read, path("new.tfa").c_str()), PoseFileOk);
        ASSERT_EQ(readAnimationFile(again, path("new.tfa").c_str()), PoseFileOk);
        for (int frame = 0; frame < 100; ++frame) {
            float want[PoseCount] = {}, got[PoseCount] = {}, saved[PoseCount] = {};
            whole.poseAt(frame, want);
            read.poseAt(frame, got);
            again.poseAt(frame, saved);
            ASSERT_EQ(std::memcmp(want, got, sizeof want), 0) << "frame " << frame << "\n" << older;
            ASSERT_EQ(std::memcmp(want, saved, sizeof want), 0) << "frame " << frame;
        }
        EXPECT_EQ(fileBytes(path("new.tfa")).find("key "), std::string::npos);
    }
}

TEST_F(TrackFiles, TracksAndTheSoundSaveAndReadBackIdentically) {
    std::mt19937 random(5);
    for (int round = 0; round < 40; ++round) {
        Animation animation, back;
        animation.setSettings({int(random() % 60) + 1, int(random() % 200) + 1, InterpolateHold});
        for (int t = 0; t < TrackCount; ++t)
            addKeys(animation, t, random);
        if (round % 2)
            animation.setSound({(dir / "voices" / "a b.wav").string(), int(random() % MaxLength)});
        std::string file = put("anim/a.tfa", "");
        ASSERT_EQ(writeAnimationFile(animation, file.c_str()), PoseFileOk);
        ASSERT_EQ(readAnimationFile(back, file.c_str()), PoseFileOk);
        EXPECT_TRUE(back == animation) << fileBytes(file);
        if (round % 2) {
            EXPECT_NE(fileBytes(file).find(": ../voices/a b.wav\r\n"), std::string::npos)
                << "the sound's path relative to the animation file";
        }
    }
}

TEST_F(TrackFiles, BadTrackAndSoundLinesNameTheLineAndLoadNothing) {
    const std::string eyes = "eyes 3: <0,0,0>,0.5\r\n", mouth = "mouth 3: 0, 0.2, 0.4, 0.2, 0\r\n";
    struct Bad {
        std::string body;
        int line;
        const char* what;
    } const bad[] = {
        {"sound 3:\r\n", 5, "\"sound FRAME: PATH\""},
        {"sound 3: \r\n", 5, "\"sound FRAME: PATH\""},
        {"sound 10000: a.wav\r\n", 5, "FRAME from 0 to 9999"},
        {"sound 03: a.wav\r\n", 5, "\"sound FRAME: PATH\""},
        {"sound 3: a\rb.wav\r\n", 5, "control character"},
        {eyes + "sound 3: a.wav\r\n", 6, "expected \"key FRAME"},
        {"sound 3: a.wav\r\nsound 3: a.wav\r\n", 6, "expected \"key FRAME"},
        {"eyes 3: <0,0,0>,0.5, 1\r\n", 5, "after number 4"},
        {"lids 3: 30,-30, 30\r\n", 5, "\"n,n, n,n\": number 4 is missing"},
        {"mouth 3: 0, 0.2, 0.4, 0.2\r\n", 5, "\"n, n, n, n, n\": number 5"},
        {"mouth 3: 0,0.2, 0.4, 0.2, 0\r\n", 5, "number 2"},
        {"mouth 100: 0, 0, 0, 0, 0\r\n", 5, "past the last frame 99"},
        {eyes + eyes, 6, "eyes frame 3 does not follow frame 3"},
        {mouth + eyes, 6, "the order eyes, lids, mouth"},
        {eyes + "key 4: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\n", 6, "among track lines"},
        {"key 4: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\n" + mouth, 6, "among \"key\" lines"},
        {"nose 3: 1\r\n", 5, "\"mouth FRAME: n, n, n, n, n\""},
        {"Eyes 3: <0,0,0>,0.5\r\n", 5, "expected \"key FRAME"},
    };
    for (const Bad& b : bad) {
        Animation animation;
        animation.setSound({"kept.wav", 2});
        const Animation before = animation;
        AnimationReadError error;
        EXPECT_EQ(readAnimationFile(animation, put("a.tfa", head + b.body).c_str(), &error),
                  PoseFileDataError)
            << b.body;
        EXPECT_EQ(error.line, b.line) << b.body;
        EXPECT_NE(error.what.find(b.what), std::string::npos) << b.body << "\n" << error.what;
        EXPECT_TRUE(animation == before) << b.body;
    }
    Animation good;
    ASSERT_EQ(
        readAnimationFile(good, put("a.tfa", head + "sound 0: a.wav\r\n" + mouth + "\x1a").c_str()),
        PoseFileOk);
    EXPECT_EQ(good.sound().start, 0);
    EXPECT_FALSE(good.hasKey(3, TrackEyes));
    EXPECT_EQ(good.track(TrackMouth).keyAt(3)->values[2], 0.4f);
}
