// The animation's tracks: each track's values hang on its own keys alone, an
// older file reads to the same pose at every frame, and the track and sound
// lines are read strictly.
#include "animation/AnimationFile.h"
#include "face/PoseFile.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Random keys of random values on `track` (AllTracks: every track).
void addKeys(Animation& animation, int track, std::mt19937& random) {
    animation.setSettings({25, 100, Interpolation(random() % 3)});
    for (int k = int(random() % 6); k > 0; --k) {
        float pose[PoseCount];
        for (float& value : pose)
            value = std::uniform_real_distribution<float>(-1, 1)(random);
        animation.setKey(int(random() % 100), pose, track);
    }
}

// The pose at `frame`, 7 where no track has keys.
std::vector<float> poseAt(const Animation& animation, int frame) {
    std::vector<float> pose(PoseCount, 7);
    animation.poseAt(frame, pose.data());
    return pose;
}

class TrackFiles : public TestFolder {
  protected:
    TrackFiles() : TestFolder("tavok-tracks-") {}
};

const std::string head = "TavokFace animation\r\nframes per second: 25\r\n"
                         "length in frames: 100\r\ninterpolation: ";

} // namespace

TEST(Tracks, EachTracksValuesAtEveryFrameHangOnItsOwnKeysAlone) {
    std::mt19937 random(39);
    for (int round = 0; round < 300; ++round) {
        Animation one, other;
        int chosen = int(random() % TrackCount);
        addKeys(one, chosen, random);
        addKeys(other, AllTracks, random);
        other.setSettings(one.settings());
        // `mixed`: one's keys on the chosen track, other's on the rest.
        Animation mixed = other;
        for (int frame = 0; frame < 100; ++frame)
            mixed.removeKey(frame, chosen);
        for (const TrackKey& key : one.track(chosen).keys())
            mixed.setTrackKey(chosen, key.frame, key.values);
        for (int frame = 0; frame < 100; ++frame) {
            std::vector<float> mine = poseAt(one, frame), theirs = poseAt(other, frame);
            for (int v = 0; v < PoseCount; ++v)
                ASSERT_EQ(poseAt(mixed, frame)[v], trackOfValue(v) == chosen ? mine[v] : theirs[v])
                    << "round " << round << " frame " << frame << " value " << v;
        }
    }
}

TEST_F(TrackFiles, AnOlderFileReadsToTheSamePoseAtEveryFrameAndSavesAsTracksWithItsSound) {
    std::mt19937 random(12);
    const char* const names[] = {"smooth", "linear", "hold"};
    for (int round = 0; round < 60; ++round) {
        Animation whole, read, again;
        addKeys(whole, AllTracks, random);
        // As the earlier version wrote it: the pose file's lines joined.
        std::string older = head + names[whole.settings().interpolation] + "\r\n";
        for (int frame = whole.nextKey(-1); frame >= 0; frame = whole.nextKey(frame)) {
            std::vector<float> pose = poseAt(whole, frame);
            older += "key " + std::to_string(frame) + ":";
            for (int number = 1; number <= PoseFileLines; ++number) {
                char text[256];
                formatPoseFileLine(text, sizeof text, number, pose.data(), true);
                older += std::string(" ") + text;
            }
            older += "\r\n";
        }
        ASSERT_EQ(readAnimationFile(read, put("old.tfa", older).c_str()), PoseFileOk) << older;
        for (int frame = 0; frame < 100; ++frame)
            ASSERT_EQ(poseAt(read, frame), poseAt(whole, frame)) << "frame " << frame << older;
        read.setSound(
            {(dir / "voices" / std::filesystem::u8path("a \xc3\xa9.wav")).u8string(), round * 100});
        std::string saved = put("anim/a.tfa", "");
        ASSERT_EQ(writeAnimationFile(read, saved.c_str()), PoseFileOk);
        ASSERT_EQ(readAnimationFile(again, saved.c_str()), PoseFileOk);
        EXPECT_TRUE(again == read) << fileBytes(saved);
        EXPECT_NE(fileBytes(saved).find("\nsound " + std::to_string(round * 100) +
                                        ": ../voices/a \xc3\xa9.wav\r\n"),
                  std::string::npos);
    }
    // A path relative to a deep folder too long for its line is held whole.
    std::string root = std::filesystem::absolute(dir).generic_u8string(), deep = root;
    for (int i = 0; i < 400; ++i)
        deep += "/x";
    EXPECT_EQ(soundPathFor(root + "/v.wav", (deep + "/a.tfa").c_str()), root + "/v.wav");
    EXPECT_EQ(soundPathFor(deep + "/v.wav", (root + "/a.tfa").c_str()),
              deep.substr(root.size() + 1) + "/v.wav");
}

TEST_F(TrackFiles, BadTrackAndSoundLinesNameTheLineAndLoadNothing) {
    const std::string eyes = "eyes 3: <0,0,0>,0.5\r\n", mouth = "mouth 3: 0, 0.2, 0.4, 0.2, 0\r\n",
                      key = "key 4: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0\r\n";
    const struct {
        std::string body;
        int line;
        const char* what;
    } bad[] = {
        {"sound 3:\r\n", 5, "\"sound FRAME: PATH\""},
        {"sound 3: a\rb.wav\r\n", 5, "control character"},
        {eyes + "sound 3: a.wav\r\n", 6, "the sound line goes before the keys"},
        {"sound 3: a.wav\r\nsound 4: b.wav\r\n", 6, "a second sound line"},
        {"eyes 3: <0,0,0>,0.5, 1\r\n", 5, "after number 4"},
        {"mouth 100: 0, 0, 0, 0, 0\r\n", 5, "past the last frame 99"},
        {eyes + eyes, 6, "eyes frame 3 does not follow frame 3"},
        {mouth + eyes, 6, "the order eyes, lids, mouth"},
        {eyes + key, 6, "among track lines"},
        {key + mouth, 6, "among \"key\" lines"},
    };
    for (const auto& b : bad) {
        Animation animation;
        animation.setSound({"kept.wav", 2});
        const Animation before = animation;
        AnimationReadError error;
        EXPECT_EQ(
            readAnimationFile(animation, put("a.tfa", head + "hold\r\n" + b.body).c_str(), &error),
            PoseFileDataError);
        EXPECT_EQ(error.line, b.line) << b.body;
        EXPECT_NE(error.what.find(b.what), std::string::npos) << b.body << "\n" << error.what;
        EXPECT_TRUE(animation == before) << b.body;
    }
}
