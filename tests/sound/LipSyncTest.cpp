// Lip-sync on voices espeak-ng speaks, judged by where their loudness says
// the pauses, vowels and lip closures are; the key rules as properties over
// random shape streams; the shapes read from the shipped pose files; the
// tool keying an animation with them.
#include "sound/LipSync.h"
#include "sound/MouthKeys.h"
#include "sound/MouthShapeSet.h"
#include "sound/MouthTrack.h"
#include "sound/SoundFileReader.h"
#include "animation/AnimationFile.h"
#include "face/PoseFile.h"
#include "tests/support/TestFolder.h"
#include "tools/tavokpose/Process.h"
#include "tools/tavokpose/TavokPose.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

namespace {

using Shape = MouthShape;

// The shape `keys` show at each of `frames` frames.
std::vector<Shape> unroll(const std::vector<MouthKey>& keys, std::size_t frames) {
    std::vector<Shape> shapes;
    for (std::size_t f = 0, k = 0; f < frames; ++f) {
        while (k + 1 < keys.size() && keys[k + 1].frame <= int(f))
            ++k;
        shapes.push_back(keys[k].shape);
    }
    return shapes;
}

// Whether the mouth shows one of `shapes` within a frame of frames [first,
// last].
bool showsNear(const std::vector<Shape>& shown, std::size_t first, std::size_t last,
               std::initializer_list<Shape> shapes) {
    for (std::size_t f = first - std::min<std::size_t>(first, 1); f <= last + 1 && f < shown.size();
         ++f)
        if (std::find(shapes.begin(), shapes.end(), shown[f]) != shapes.end()) return true;
    return false;
}

class LipSyncVoice : public TestFolder {
  protected:
    LipSyncVoice() : TestFolder("lipsync-") {}
};

// Words spoken 400 ms apart in each voice at each rate below and, a
// digit a word, how often the lips close in it: once for each M, B or P
// (or MB, MP together), before one that starts the word too; never for the
// tongue, the teeth or close vowels.
const std::pair<const char*, const char*> sentences[] = {
    {"mama papa baba amma appa abba", "222111"},
    {"see three green teeth need atta akka anna", "00000000"},
    {"ample number temper hamper rumble", "11111"},
    {"happy robot imp pub mob", "11122"},
    {"lamb pay mother pen bees", "11111"},
    {"maybe bimbo bump mop map top", "222221"},
};

// Every sentence in each voice at each rate (words a minute); a tenth of words may stray.
std::vector<std::tuple<const char*, int, const char*, const char*>> spokenSentences() {
    std::vector<std::tuple<const char*, int, const char*, const char*>> spoken;
    for (const auto& [text, closures] : sentences)
        for (const char* voice : {"en", "en-us"})
            for (int rate : {120, 160, 200})
                spoken.push_back({voice, rate, text, closures});
    return spoken;
}

TEST_F(LipSyncVoice, RestInPausesOpenOnVowelsClosedOnLipsOnly) {
    std::string wrong;
    long judged = 0;
    for (const auto& [voice, rate, text, closures] : spokenSentences()) {
        ProcessResult spoken = runProcess({"espeak-ng", "-v", voice, "-s", std::to_string(rate),
                                           "-g", "40", "-w", "voice.wav", text},
                                          dir.string(), "espeak.log", 20);
        ASSERT_EQ(spoken.exitCode, 0) << "espeak-ng within 20 s: " << fileBytes(path("espeak.log"));
        SoundClip clip;
        SoundFileReader reader;
        ASSERT_TRUE(reader.read(path("voice.wav"), clip)) << reader.error();
        std::vector<SpeechFrame> frames =
            speechFrames(clip.mono().data(), clip.length(), clip.rate());
        std::vector<MouthStep> steps = mouthSteps(frames);
        auto louder = [](const SpeechFrame& a, const SpeechFrame& b) { return a.level < b.level; };
        float peak = std::max_element(frames.begin(), frames.end(), louder)->level;
        // Words: stretches of sound whose gaps are shorter than 200 ms.
        std::vector<std::pair<std::size_t, std::size_t>> words;
        for (std::size_t i = 0; i < frames.size(); ++i)
            if (frames[i].level >= peak - 30 && !words.empty() && i - words.back().second < 20)
                words.back().second = i + 1;
            else if (frames[i].level >= peak - 30)
                words.push_back({i, i + 1});
        ASSERT_EQ(words.size(), std::strlen(closures)) << voice << ": " << text;
        for (int fps : {25, 60}) {
            std::vector<Shape> shown =
                unroll(mouthKeys(steps, fps), (steps.size() * fps + 99) / 100);
            auto frameOf = [&](std::size_t step) { return step * std::size_t(fps) / 100; };
            for (std::size_t w = 0; w < words.size(); ++w) {
                auto [start, end] = words[w];
                std::string where = std::string(voice) + " at " + std::to_string(rate) +
                                    " words a minute, word " + std::to_string(w) + " of \"" + text +
                                    "\" at " + std::to_string(fps) + " fps";
                // The pause before the word, two frames clear of the sound.
                std::size_t pause = w ? frameOf(words[w - 1].second) + 2 : frameOf(start);
                for (std::size_t f = pause; f + 2 < frameOf(start); ++f)
                    EXPECT_EQ(shown[f], Shape::Rest) << where << ": pause frame " << f;
                int closed = 0;
                for (std::size_t f = frameOf(start) - std::min<std::size_t>(frameOf(start), 1);
                     f <= frameOf(end) + 1 && f < shown.size(); ++f)
                    closed +=
                        shown[f] == Shape::Closed && (f == 0 || shown[f - 1] != Shape::Closed);
                EXPECT_TRUE(closed == 0 || closures[w] > '0') << where << ": closed off the lips";
                std::size_t loudest = frameOf(std::size_t(
                    std::max_element(&frames[start], &frames[end], louder) - &frames[0]));
                bool open = showsNear(shown, loudest, loudest,
                                      {Shape::Open, Shape::Wide, Shape::Rounded, Shape::Puckered});
                if (closed != closures[w] - '0' || !open)
                    wrong += where + (open ? ": closures\n" : ": the loudest step not open\n");
                ++judged;
            }
        }
    }
    EXPECT_LE(std::count(wrong.begin(), wrong.end(), '\n'), judged / 10) << wrong;
}

TEST(MouthKeys, SilenceRests) {
    EXPECT_EQ(lipSync(SoundClip(8000, {Samples(8000, 0.0f)}), 30),
              (std::vector<MouthKey>{{0, Shape::Rest}}));
    EXPECT_TRUE(lipSync(SoundClip(), 30).empty());
    for (int fps : {0, -5})
        EXPECT_TRUE(lipSync(SoundClip(8000, {Samples(8000, 0.5f)}), fps).empty()) << fps;
}

TEST(MouthKeys, KeysFollowTheRulesOnRandomShapeStreams) {
    std::mt19937 random(39);
    for (int round = 0; round < 2000; ++round) {
        std::vector<MouthStep> steps;
        for (int r = std::uniform_int_distribution<int>(1, 40)(random); r > 0; --r) {
            Shape shape = Shape(std::uniform_int_distribution<int>(0, MouthShapeCount - 1)(random));
            bool burst = !steps.empty() && steps.back().shape == Shape::Rest &&
                         shape != Shape::Rest && random() % 2;
            for (int i = std::uniform_int_distribution<int>(1, round % 2 ? 80 : 12)(random); i > 0;
                 --i)
                steps.push_back({shape, burst && steps.back().shape != shape});
        }
        int fps = std::uniform_int_distribution<int>(1, 60)(random);
        std::vector<MouthKey> keys = mouthKeys(steps, fps);
        std::size_t frames = (steps.size() * std::size_t(fps) + 99) / 100;
        ASSERT_EQ(keys.at(0).frame, 0);
        for (std::size_t k = 0; k < keys.size(); ++k) {
            int end = k + 1 < keys.size() ? keys[k + 1].frame : int(frames);
            ASSERT_LT(keys[k].frame, end) << "keys in order, within the frames";
            ASSERT_TRUE(k == 0 || keys[k].shape != keys[k - 1].shape)
                << "a key where the shape changes";
            ASSERT_TRUE(keys[k].shape == Shape::Closed || frames < 2 || end - keys[k].frame >= 2)
                << "frame " << keys[k].frame << " held too briefly at " << fps;
        }
        std::vector<Shape> shown = unroll(keys, frames);
        for (std::size_t start = 0, end; start < steps.size(); start = end) {
            for (end = start + 1; end < steps.size() && steps[end].shape == steps[start].shape;)
                ++end;
            std::size_t first = start * std::size_t(fps) / 100,
                        last = (end - 1) * std::size_t(fps) / 100;
            ASSERT_TRUE(steps[start].shape != Shape::Closed ||
                        showsNear(shown, first, last, {Shape::Closed}))
                << "a closure at steps " << start << " to " << end << ", " << fps;
            ASSERT_TRUE(!steps[start].burst || first == 0 || shown[first - 1] == Shape::Closed)
                << "closed before the burst at " << start;
            // Frames wholly within a long pause rest, but for the one
            // closing before a burst.
            std::size_t inFirst = (start * std::size_t(fps) + 99) / 100,
                        inEnd = end * std::size_t(fps) / 100;
            bool burstAfter = end < steps.size() && steps[end].burst;
            bool pause = steps[start].shape == Shape::Rest && inEnd >= inFirst + 3;
            for (std::size_t f = inFirst; pause && f < inEnd - (burstAfter ? 1 : 0); ++f)
                ASSERT_EQ(shown[f], Shape::Rest) << "pause frame " << f << " at " << fps;
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

TEST_F(LipSyncVoice, ToolKeysTheMouthTrackOnlyOfANewOrExistingAnimation) {
    ProcessResult spoken = runProcess({"espeak-ng", "-w", "voice.wav", "my name is Tavok"},
                                      dir.string(), "espeak.log", 20);
    ASSERT_EQ(spoken.exitCode, 0) << "espeak-ng within 20 s: " << fileBytes(path("espeak.log"));
    TavokPose::Setup setup;
    setup.mouthsDir = TAVOK_MOUTHS;
    std::ostringstream out, err;
    auto run = [&](std::vector<std::string> args) {
        err.str("");
        args.insert(args.begin(), "lipsync");
        return TavokPose(setup, out, err).run(args);
    };
    SoundClip clip;
    SoundFileReader reader;
    MouthShapeSet shapes;
    ASSERT_TRUE(reader.read(path("voice.wav"), clip) && shapes.load(TAVOK_MOUTHS));
    // The lip-sync's keys at `fps` on `animation`'s mouth track from `start`.
    auto synced = [&](Animation animation, int fps, int start) {
        setMouthTrack(animation, lipSync(clip, fps), shapes, start);
        return animation;
    };

    ASSERT_EQ(run({path("voice.wav"), path("new.tfa"), "--fps", "30"}), ExitOk) << err.str();
    Animation made, empty;
    ASSERT_EQ(readAnimationFile(made, path("new.tfa").c_str()), PoseFileOk);
    empty.setSettings({30, framesFor(clip.seconds(), 30), InterpolateHold});
    empty.setSound({path("voice.wav"), 0});
    EXPECT_TRUE(made == synced(empty, 30, 0));
    EXPECT_GT(made.track(TrackMouth).keys().size(), 5u);

    // An animation shorter than the voice with a blink and another sound
    // two frames in, whose place the voice takes.
    std::string old = put("old.tfa", "TavokFace animation\r\nframes per second: 25\r\n"
                                     "length in frames: 25\r\ninterpolation: linear\r\n"
                                     "sound 2: other.wav\r\neyes 0: <0,10,0>,0.5\r\n"
                                     "lids 0: 30,-30, 30,-30\r\nlids 4: 0,0, 0,0\r\n"
                                     "mouth 20: 0.5, 0.5, 0.5, 0.5, 0.5\r\n");
    Animation before, after;
    ASSERT_EQ(readAnimationFile(before, old.c_str()), PoseFileOk);
    ASSERT_EQ(run({path("voice.wav"), old}), ExitOk) << err.str();
    ASSERT_EQ(readAnimationFile(after, old.c_str()), PoseFileOk);
    before.setSound({path("voice.wav"), 2});
    EXPECT_TRUE(after == synced(before, 25, 2));
    char beyond[64]; // the voice from 0.08 s on, past 1 s
    std::snprintf(beyond, sizeof beyond, ": %.2f s of the sound runs beyond",
                  clip.seconds() - 0.92);
    EXPECT_NE(out.str().find(beyond), std::string::npos) << out.str();
    // A voice starting past the end runs beyond it whole.
    put("late.tfa", fileBytes(old).replace(fileBytes(old).find("sound 2"), 7, "sound 30"));
    ASSERT_EQ(run({path("voice.wav"), path("late.tfa")}), ExitOk) << err.str();
    std::snprintf(beyond, sizeof beyond, ": %.2f s of the sound runs beyond", clip.seconds());
    EXPECT_NE(out.str().find(beyond), std::string::npos) << out.str();

    // Errors named plainly, with the tool's exit codes; nothing written.
    std::string voice = path("voice.wav"), target = path("x.tfa");
    const std::tuple<std::vector<std::string>, int, std::string> wrongs[] = {
        {{old, target}, ExitBadInput, old + ": not a sound"},
        {{voice, target, "--shapes", dir.string()}, ExitBadInput, path("rest.txt") + ": "},
        {{voice, old, "--fps", "30"}, ExitBadInput, old + ": the animation runs at 25 fps, not 30"},
        {{voice, target, "--fps", "61"}, ExitUsage, "tavokpose: --fps takes"},
        {{put("a\tb.wav", fileBytes(voice)), target},
         ExitBadInput,
         "tavokpose: cannot write " + target + ": the sound's path holds a control"}};
    for (const auto& [args, exit, error] : wrongs) {
        EXPECT_EQ(run(args), exit) << error;
        EXPECT_EQ(err.str().rfind(error, 0), 0u) << err.str();
        EXPECT_FALSE(std::filesystem::exists(target)) << error;
    }
}

} // namespace
