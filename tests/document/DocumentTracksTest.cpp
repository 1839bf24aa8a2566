// The document's tracks: keying touches only the tracks whose values changed
// and each step holds only those; keys are selected, moved and removed on
// their own track; the sound is a step like any other, and every step of
// them undoes and redoes exactly.
#include "document/Document.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>

namespace {

void step(Document& document, const char* name, const std::function<void()>& change) {
    document.begin(name);
    change();
    document.commit();
}

std::set<int> changedTracks(const float* before, const float* after) {
    std::set<int> tracks;
    for (int v = 0; v < PoseCount; ++v)
        if (std::memcmp(&before[v], &after[v], sizeof(float)) != 0) tracks.insert(trackOfValue(v));
    return tracks;
}

} // namespace

TEST(DocumentTracks, KeyingSetsKeysOnTheChangedTracksAloneAndStepsHoldOnlyThem) {
    std::mt19937 random(8);
    Document document;
    document.setKeying(true);
    for (int change = 0; change < 2000; ++change) {
        auto pick = [&random](int n) { return int(random() % unsigned(n)); };
        document.moveTo(pick(document.lastFrame() + 1));
        float before[PoseCount];
        std::memcpy(before, document.model().pose, sizeof before);
        Animation animation = document.animation();
        std::size_t steps = document.history().undoCount();
        int kind = pick(4), part = pick(12) - 1, action = pick(11) + 1;
        step(document, "Change", [&] {
            PoseModel& pose = document.pose();
            pose.selection = part;
            if (kind == 0) pose.applyKeyAction(action);
            if (kind == 1) pose.setSelectedValue(pick(200) / 100.0f - 1);
            if (kind == 2) pose.mirrorPose();
            if (kind == 3) pose.resetPose();
        });
        std::set<int> changed = changedTracks(before, document.model().pose), keyed, stored;
        for (int t = 0; t < TrackCount; ++t)
            if (!(document.animation().track(t) == animation.track(t))) keyed.insert(t);
        if (document.history().undoCount() > steps)
            for (const KeyChange& key : document.undoStep()->keys)
                stored.insert(key.track);
        ASSERT_EQ(keyed, changed) << "change " << change << " kind " << kind;
        ASSERT_EQ(stored, changed) << "change " << change << " kind " << kind;
        for (int t : changed) {
            const TrackKey* key = document.animation().track(t).keyAt(document.playhead());
            ASSERT_TRUE(key && std::memcmp(key->values, document.model().pose + trackKinds[t].first,
                                           sizeof(float) * std::size_t(trackKinds[t].count)) == 0);
        }
    }
}

TEST(DocumentTracks, AKeyIsSelectedMovedAndRemovedOnItsOwnTrack) {
    Document document;
    document.setKeying(true);
    step(document, "Set key", [&] { document.setKey(0, document.model().pose); });
    for (int t = 0; t < TrackCount; ++t)
        EXPECT_TRUE(document.animation().hasKey(0, t)) << "Set key keys all three";
    document.moveTo(10);
    document.pose().selection = 8;
    step(document, "Key 8", [&] { document.pose().applyKeyAction(KeyRaise); });
    EXPECT_EQ(document.animation().nextKey(0), 10);
    EXPECT_EQ(document.animation().nextKey(0, TrackEyes), -1) << "a mouth point keys the mouth";
    document.moveTo(0);
    document.selectKey(TrackEyes, 10);
    EXPECT_EQ(document.selectedTrack(), -1) << "no eyes key there to select";
    document.selectKey(TrackMouth, 10);
    EXPECT_EQ(document.selectedTrack(), TrackMouth);
    EXPECT_FALSE(document.moveKey(10, 0, TrackMouth)) << "never onto another key of its track";
    step(document, "Move key", [&] { document.moveKey(10, 30, TrackMouth); });
    EXPECT_EQ(document.playhead(), 30);
    EXPECT_EQ(document.selectedFrame(), 30) << "the selection goes along";
    step(document, "Move key", [&] { document.moveKey(0, 5, TrackLids); });
    EXPECT_TRUE(document.animation().hasKey(0, TrackEyes) &&
                document.animation().hasKey(0, TrackMouth));
    EXPECT_TRUE(document.animation().hasKey(5, TrackLids) &&
                !document.animation().hasKey(0, TrackLids));
    document.selectKey(TrackMouth, 30);
    step(document, "Delete key", [&] { document.removeKey(30, document.selectedTrack()); });
    EXPECT_EQ(document.selectedTrack(), -1) << "nothing selected once the key is gone";
    EXPECT_EQ(document.animation().previousKey(99), 5);
    document.undo();
    EXPECT_TRUE(document.animation().hasKey(30, TrackMouth));
}

TEST(DocumentTracks, EveryTrackAndSoundStepUndoesAndRedoesExactly) {
    std::mt19937 random(81);
    for (int round = 0; round < 100; ++round) {
        Document document;
        document.setKeying(true);
        std::vector<Animation> states{document.animation()};
        for (int change = 0; change < 40; ++change) {
            auto pick = [&random](int n) { return int(random() % unsigned(n)); };
            int track = pick(TrackCount + 1) - 1, frame = pick(100), to = pick(100);
            float pose[PoseCount];
            for (float& value : pose)
                value = float(pick(90));
            std::size_t steps = document.history().undoCount();
            switch (pick(5)) {
            case 0: step(document, "Set key", [&] { document.setKey(frame, pose, track); }); break;
            case 1: step(document, "Delete key", [&] { document.removeKey(frame, track); }); break;
            case 2: step(document, "Move key", [&] { document.moveKey(frame, to, track); }); break;
            case 3:
                step(document, "Sound", [&] {
                    document.setSound({"v" + std::to_string(frame), to});
                });
                break;
            default: step(document, "Remove sound", [&] { document.setSound({}); }); break;
            }
            if (document.history().undoCount() > steps) states.push_back(document.animation());
            ASSERT_EQ(document.history().undoCount(), states.size() - 1);
        }
        for (std::size_t at = states.size() - 1; at > 0; --at) {
            ASSERT_TRUE(document.undo());
            ASSERT_TRUE(document.animation() == states[at - 1])
                << "round " << round << " undo " << at;
        }
        for (std::size_t at = 1; at < states.size(); ++at) {
            ASSERT_TRUE(document.redo());
            ASSERT_TRUE(document.animation() == states[at]) << "round " << round << " redo " << at;
        }
    }
}
