// The document's one history over random sequences of the editor's changes:
// each undo brings back the state before its step, each redo the state
// after it, selection, selected key, sound and playhead included; a gesture
// is one step. Keying touches only the tracks whose values changed and each
// step holds only those; a key moves on its own track.
#include "document/Document.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <set>
#include <utility>

namespace {

struct Snapshot {
    PoseState pose;
    int playhead;
    Animation animation;
    std::pair<int, int> key;

    bool operator==(const Snapshot& other) const {
        return std::memcmp(&pose, &other.pose, sizeof pose) == 0 && playhead == other.playhead &&
               animation == other.animation && key == other.key;
    }
};

Snapshot snapshot(const Document& document) {
    return {document.model().state(),
            document.playhead(),
            document.animation(),
            {document.selectedTrack(), document.selectedFrame()}};
}

// The state a step left, as the document shows it now: with the timeline
// shown, a face with keys is the animation's pose at the playhead, also
// after undoing a step that was made with the timeline hidden.
Snapshot shown(const Document& document, Snapshot state) {
    if (document.keying()) state.animation.poseAt(state.playhead, state.pose.pose);
    return state;
}

class Counter : public DocumentView {
  public:
    void documentChanged(int hints) override { all |= hints; }
    int all = 0;
};

void step(Document& document, const char* name, const std::function<void()>& change,
          int gesture = GestureNone) {
    document.begin(name, gesture);
    change();
    document.commit();
}

// One of the editor's changes, chosen at random; some are no step.
void randomChange(Document& document, std::mt19937& random) {
    auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    PoseModel& pose = document.pose();
    int part = pick(12) - 1, frame = pick(document.lastFrame() + 1);
    int track = pick(TrackCount + 1) - 1, playhead = document.playhead();
    switch (pick(12)) {
    case 0:
        step(document, "Key", [&] {
            pose.selection = part;
            pose.applyKeyAction(pick(11) + 1);
        });
        break;
    case 1:
        document.beginGesture(GestureDrag);
        step(
            document, "Drag", [&] { pose.selection = part; }, GestureDrag);
        for (int move = pick(5); move > 0; --move)
            step(
                document, "Drag", [&] { pose.setSelectedValue(pick(100) / 100.0f); }, GestureDrag);
        document.endGesture();
        break;
    case 2: document.moveTo(pick(document.lastFrame() + 3) - 1); break;
    case 3: document.setKeying(!document.keying()); break;
    case 4: step(document, "Set key", [&] { document.setKey(playhead, pose.pose, track); }); break;
    case 5: step(document, "Delete key", [&] { document.removeKey(playhead, track); }); break;
    case 6: step(document, "Move key", [&] { document.moveKey(playhead, frame, track); }); break;
    case 7: {
        AnimationSettings settings{pick(60) + 1, pick(40) + 1, Interpolation(pick(3))};
        step(document, "Animation settings", [&] { document.setSettings(settings); });
        break;
    }
    case 8: {
        Animation opened;
        opened.setSettings({25, pick(30) + 1, InterpolateLinear});
        float values[PoseCount] = {float(pick(90))};
        for (int key = pick(4); key > 0; --key)
            opened.setKey(pick(30), values);
        step(document, "Open animation", [&] { document.replaceAnimation(opened); });
        break;
    }
    case 9: document.selectKey(track, document.animation().nextKey(frame - 1, track)); break;
    case 10: {
        SoundReference sound{pick(2) ? "voice.wav" : "", pick(MaxLength)};
        step(document, "Sound", [&] { document.setSound(sound); });
        break;
    }
    default: step(document, "Mirror", [&] { pose.mirrorPose(); }); break;
    }
}

} // namespace

TEST(DocumentHistory, UndoAndRedoOfEveryStepBringBackEachStateExactly) {
    std::mt19937 random(36);
    for (int round = 0; round < 200; ++round) {
        Document document;
        Counter told;
        document.addView(&told);
        std::vector<Snapshot> before(1), after(1);
        for (int change = 0; change < 60; ++change) {
            Snapshot start = snapshot(document);
            std::size_t steps = document.history().undoCount();
            told.all = 0;
            randomChange(document, random);
            ASSERT_TRUE(snapshot(document) == shown(document, snapshot(document)))
                << "round " << round << ": the face is not the timeline's";
            std::size_t now = document.history().undoCount();
            ASSERT_LE(now, steps + 1) << "one change is one step at most";
            if (now > steps) before.push_back(start);
            if (told.all & HintHistory) after.resize(now + 1, snapshot(document));
            if (told.all & HintHistory) after[now] = snapshot(document);
        }
        std::size_t steps = document.history().undoCount();
        for (std::size_t step = steps; step > 0; --step) {
            ASSERT_TRUE(document.undo());
            ASSERT_TRUE(snapshot(document) == shown(document, before[step]))
                << "round " << round << " undo " << step;
        }
        EXPECT_FALSE(document.undo());
        for (std::size_t step = 1; step <= steps; ++step) {
            ASSERT_TRUE(document.redo());
            ASSERT_TRUE(snapshot(document) == shown(document, after[step]))
                << "round " << round << " redo " << step;
        }
        EXPECT_FALSE(document.redo());
    }
}

TEST(DocumentHistory, StepsKeepWhatChangedAndTheHistoryStaysWithinItsMemory) {
    Document document(History(5000, 1u << 20));
    Animation opened;
    opened.setSettings({25, MaxLength, InterpolateSmooth});
    float pose[PoseCount] = {};
    for (int frame = 0; frame < MaxLength; frame += 10)
        opened.setKey(frame, pose);
    document.begin("Open animation");
    document.replaceAnimation(opened);
    document.commit();
    document.setKeying(true);
    for (int step = 0; step < 400; ++step) {
        document.moveTo(step * 25);
        document.begin("Key 8");
        document.pose().applyKeyAction(KeyRaise);
        document.commit();
    }
    EXPECT_LE(document.history().bytes(), 1u << 20);
    EXPECT_EQ(document.history().undoCount(), 401u);
    for (int step = 0; step < 400; ++step)
        document.undo();
    EXPECT_TRUE(document.animation() == opened);

    Document few(History(3));
    for (int step = 0; step < 5; ++step) {
        few.begin("Key 4");
        few.pose().applyKeyAction(KeyEyeXUp);
        few.commit();
    }
    while (few.undo()) {
    }
    EXPECT_EQ(few.model().pose[PoseEyeX], 2) << "only the newest 3 steps are kept";
}

TEST(DocumentTracks, KeyingSetsKeysOnTheChangedTracksAloneAndStepsHoldOnlyThem) {
    std::mt19937 random(8);
    Document document;
    document.setKeying(true);
    for (int change = 0; change < 2000; ++change) {
        auto pick = [&random](int n) { return int(random() % unsigned(n)); };
        document.moveTo(pick(100));
        PoseState before = document.model().state();
        Animation animation = document.animation();
        int kind = pick(4), action = pick(11) + 1;
        step(document, "Change", [&] {
            PoseModel& pose = document.pose();
            pose.selection = pick(12) - 1;
            if (kind == 0) pose.applyKeyAction(action);
            if (kind == 1) pose.setSelectedValue(pick(200) / 100.0f - 1);
            if (kind == 2) pose.mirrorPose();
            if (kind == 3) pose.resetPose();
        });
        std::set<int> changed, keyed, stored;
        for (int v = 0; v < PoseCount; ++v)
            if (std::memcmp(&before.pose[v], &document.model().pose[v], sizeof(float)) != 0)
                changed.insert(trackOfValue(v));
        for (int t = 0; t < TrackCount; ++t)
            if (!(document.animation().track(t) == animation.track(t))) keyed.insert(t);
        for (const KeyChange& key :
             changed.empty() ? std::vector<KeyChange>() : document.undoStep()->keys)
            stored.insert(key.track);
        ASSERT_EQ(keyed, changed) << "change " << change << " kind " << kind;
        ASSERT_EQ(stored, changed) << "change " << change << " kind " << kind;
    }
}

TEST(DocumentTracks, AKeyMovesAlongItsOwnTrackAndGoesWithItsSelection) {
    Document document;
    step(document, "Set key", [&] { document.setKey(0, document.model().pose); });
    document.selectKey(TrackLids, 0);
    step(document, "Move key", [&] { document.moveKey(0, 5, TrackLids); });
    EXPECT_EQ(document.animation().nextKey(-1, TrackEyes), 0) << "the other tracks' keys stay";
    EXPECT_EQ(document.animation().nextKey(-1, TrackLids), 5);
    EXPECT_EQ(document.selectedFrame(), 5);
    step(document, "Delete key", [&] { document.removeKey(5, TrackLids); });
    EXPECT_EQ(document.selectedTrack(), -1);
}
