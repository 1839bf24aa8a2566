// Lip-sync on voices espeak-ng speaks, judged by where their loudness says
// the pauses, vowels and lip closures are; the key rules as properties over
// random shape streams; the shapes read from the shipped pose files.
#include "sound/LipSync.h"
#include "sound/MouthKeys.h"
#include "sound/MouthShapeSet.h"
#include "sound/native/SoundFileReader.h"
#include "tests/support/TestFolder.h"
#include "tools/tavokpose/Process.h"

#include <algorithm>
#include <random>

namespace {

using Shape = MouthShape;

// The frame by frame shapes of `keys` over `frames` frames.
std::vector<Shape> unroll(const std::vector<MouthKey>& keys, std::size_t frames) {
    std::vector<Shape> shapes(frames, Shape::Rest);
    for (std::size_t k = 0; k < keys.size(); ++k)
        for (std::size_t f = std::size_t(keys[k].frame);
             f < (k + 1 < keys.size() ? std::size_t(keys[k + 1].frame) : frames); ++f)
            shapes[f] = keys[k].shape;
    return shapes;
}

class LipSyncVoice : public TestFolder {
  protected:
    LipSyncVoice() : TestFolder("lipsync-") {}
};

TEST_F(LipSyncVoice, RestInPausesOpenOnVowelsClosedOnLips) {
    // Words of two syllables around M, B or P, 400 ms apart.
    for (const char* voice : {"en", "en+f3", "en+m3"}) {
        ProcessResult spoken = runProcess({"espeak-ng", "-v", voice, "-g", "40", "-w", "voice.wav",
                                           "mama papa baba amma appa abba"},
                                          dir.string(), "espeak.log", 20);
        ASSERT_EQ(spoken.exitCode, 0) << "espeak-ng within 20 s: " << fileBytes(path("espeak.log"));
        SoundClip clip;
        SoundFileReader reader;
        ASSERT_TRUE(reader.read(path("voice.wav"), clip)) << reader.error();
        std::vector<SpeechFrame> frames =
            speechFrames(clip.mono().data(), clip.length(), clip.rate());
        std::vector<MouthStep> steps = mouthSteps(frames);
        float peak = -200;
        for (const SpeechFrame& frame : frames)
            peak = std::max(peak, frame.level);
        // Words: stretches of sound whose gaps are shorter than 200 ms.
        std::vector<std::pair<std::size_t, std::size_t>> words;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            if (frames[i].level < peak - 30) continue;
            if (!words.empty() && i - words.back().second < 20)
                words.back().second = i + 1;
            else
                words.push_back({i, i + 1});
        }
        ASSERT_EQ(words.size(), 6u) << voice;
        for (int fps : {25, 60}) {
            std::vector<Shape> shown =
                unroll(mouthKeys(steps, fps), (steps.size() * fps + 99) / 100);
            auto frameOf = [&](std::size_t step) { return step * std::size_t(fps) / 100; };
            auto closedNear = [&](std::size_t frame) {
                for (std::size_t f = frame - std::min<std::size_t>(frame, 1); f <= frame + 1; ++f)
                    if (shown[f] == Shape::Closed) return true;
                return false;
            };
            for (std::size_t w = 0; w < words.size(); ++w) {
                auto [start, end] = words[w];
                std::string where = std::string(voice) + " word " + std::to_string(w) + " at " +
                                    std::to_string(fps) + " fps";
                if (w > 0) {
                    for (std::size_t f = frameOf(words[w - 1].second) + 2; f + 2 < frameOf(start);
                         ++f)
                        EXPECT_EQ(shown[f], Shape::Rest) << where << " pause frame " << f;
                }
                // The consonant between the syllables: the deepest dip in
                // loudness between louder stretches.
                std::size_t dip = start;
                float deepest = 0;
                for (std::size_t i = start; i < end; ++i) {
                    float before = -200, after = -200;
                    for (std::size_t j = start; j < end; ++j)
                        (j < i ? before : after) =
                            std::max(j < i ? before : after, frames[j].level);
                    float depth = std::min(before, after) - frames[i].level;
                    if (depth > deepest) deepest = depth, dip = i;
                }
                EXPECT_TRUE(closedNear(frameOf(dip))) << where << ": the lips at the dip";
                if (w < 3) {
                    EXPECT_TRUE(closedNear(frameOf(start))) << where << ": the lips at the start";
                }
                // The syllables' vowels: the loudest step on each side of the dip.
                for (auto [from, to] : {std::pair{start, dip}, std::pair{dip, end}}) {
                    std::size_t loudest = std::size_t(
                        std::max_element(frames.begin() + long(from), frames.begin() + long(to),
                                         [](auto& a, auto& b) { return a.level < b.level; }) -
                        frames.begin());
                    Shape vowel = shown[frameOf(loudest)];
                    EXPECT_TRUE(vowel == Shape::Open || vowel == Shape::Wide ||
                                vowel == Shape::Rounded)
                        << where << ": " << mouthShapeName(vowel) << " on the vowel at step "
                        << loudest;
                }
            }
        }
    }
}

TEST(MouthKeys, KeysFollowTheRulesOnRandomShapeStreams) {
    std::mt19937 random(39);
    for (int round = 0; round < 2000; ++round) {
        std::vector<MouthStep> steps;
        int runs = std::uniform_int_distribution<int>(1, 40)(random);
        for (int r = 0; r < runs; ++r) {
            Shape shape = Shape(std::uniform_int_distribution<int>(0, MouthShapeCount - 1)(random));
            int length = std::uniform_int_distribution<int>(1, round % 2 ? 80 : 12)(random);
            bool burst = !steps.empty() && steps.back().shape == Shape::Rest &&
                         shape != Shape::Rest && random() % 2;
            for (int i = 0; i < length; ++i)
                steps.push_back({shape, burst && i == 0});
        }
        int fps = std::uniform_int_distribution<int>(1, 60)(random);
        std::vector<MouthKey> keys = mouthKeys(steps, fps);
        std::size_t frames = (steps.size() * std::size_t(fps) + 99) / 100;
        ASSERT_FALSE(keys.empty());
        ASSERT_EQ(keys[0].frame, 0);
        for (std::size_t k = 0; k < keys.size(); ++k) {
            int end = k + 1 < keys.size() ? keys[k + 1].frame : int(frames);
            ASSERT_LT(keys[k].frame, end) << "keys in order, within the frames";
            if (k > 0) {
                ASSERT_NE(keys[k].shape, keys[k - 1].shape) << "a key where the shape changes";
            }
            if (keys[k].shape != Shape::Closed && frames >= 2) {
                ASSERT_GE(end - keys[k].frame, 2) << "frame " << keys[k].frame << " at " << fps;
            }
        }
        std::vector<Shape> shown = unroll(keys, frames);
        for (std::size_t start = 0, end; start < steps.size(); start = end) {
            for (end = start + 1; end < steps.size() && steps[end].shape == steps[start].shape;)
                ++end;
            std::size_t first = start * std::size_t(fps) / 100,
                        last = (end - 1) * std::size_t(fps) / 100;
            if (steps[start].shape == Shape::Closed) {
                bool closed = false;
                for (std::size_t f = first - std::min<std::size_t>(first, 1);
                     f <= last + 1 && f < frames; ++f)
                    closed = closed || shown[f] == Shape::Closed;
                ASSERT_TRUE(closed)
                    << "a closure at steps " << start << " to " << end << ", " << fps;
            }
            if (steps[start].burst && first > 0) {
                ASSERT_EQ(shown[first - 1], Shape::Closed)
                    << "closed before the burst at " << start;
            }
            // Frames wholly within a long pause rest, but for the one
            // closing before a burst.
            std::size_t inFirst = (start * std::size_t(fps) + 99) / 100,
                        inEnd = end * std::size_t(fps) / 100;
            bool burstAfter = end < steps.size() && steps[end].burst;
            if (steps[start].shape == Shape::Rest && inEnd >= inFirst + 3) {
                for (std::size_t f = inFirst; f < inEnd - (burstAfter ? 1 : 0); ++f)
                    ASSERT_EQ(shown[f], Shape::Rest) << "pause frame " << f << " at " << fps;
            }
        }
    }
}

TEST_F(LipSyncVoice, ShapesComeFromPoseFiles) {
    MouthShapeSet shapes;
    ASSERT_TRUE(shapes.load(TAVOK_MOUTHS)) << shapes.error();
    EXPECT_EQ(std::vector<float>(shapes.mouth(Shape::Rest), shapes.mouth(Shape::Rest) + 5),
              std::vector<float>(5, 0.0f));
    EXPECT_LT(shapes.mouth(Shape::Wide)[2], shapes.mouth(Shape::Open)[2]) << "wide opens more";
    for (int s = 0; s < MouthShapeCount; ++s)
        put(std::string(mouthShapeName(Shape(s))) + ".txt",
            fileBytes(std::string(TAVOK_MOUTHS) + "/" + mouthShapeName(Shape(s)) + ".txt"));
    put("open.txt", "<0,0,0>,0.5,\r\n30,-30,\r\n30,-30,\r\n0.5,\r\n");
    EXPECT_FALSE(shapes.load(dir.string()));
    EXPECT_EQ(shapes.error(), path("open.txt") + ":5: line missing: a pose file has 8 lines");
    EXPECT_LT(shapes.mouth(Shape::Open)[2], 0.0f) << "the shapes held stay";
}

} // namespace
