// The document's tracks: keying touches only the tracks whose values changed,
// each step holds only those and undoes exactly; a key moves on its own
// track; the sound is a step like any other.
#include "document/Document.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <set>
#include <utility>

namespace {

void step(Document& document, const char* name, const std::function<void()>& change) {
    document.begin(name);
    change();
    document.commit();
}

} // namespace

TEST(DocumentTracks, KeyingSetsKeysOnTheChangedTracksAloneAndStepsHoldAndUndoOnlyThem) {
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
        Animation after = document.animation();
        if (changed.empty()) continue;
        document.undo();
        ASSERT_TRUE(document.animation() == animation) << "change " << change;
        document.redo();
        ASSERT_TRUE(document.animation() == after) << "change " << change;
    }
}

TEST(DocumentTracks, AKeyMovesAlongItsOwnTrackAndTheSoundIsAStep) {
    Document document;
    step(document, "Set key", [&] { document.setKey(0, document.model().pose); });
    document.selectKey(TrackLids, 0);
    step(document, "Move key", [&] { document.moveKey(0, 5, TrackLids); });
    EXPECT_EQ(document.animation().nextKey(-1, TrackEyes), 0) << "the other tracks' keys stay";
    EXPECT_EQ(document.animation().nextKey(-1, TrackLids), 5);
    // Undo and redo bring back the selected key with the keys.
    step(document, "Delete key", [&] { document.removeKey(5, TrackLids); });
    EXPECT_EQ(document.selectedTrack(), -1);
    for (auto [undo, frame] : {std::pair{true, 5}, {true, 0}, {false, 5}}) {
        undo ? document.undo() : document.redo();
        EXPECT_EQ(std::pair(document.selectedTrack(), document.selectedFrame()),
                  std::pair(int(TrackLids), frame));
    }
    document.redo();
    step(document, "Sound", [&] { document.setSound({"voice.wav", 12}); });
    step(document, "Remove sound", [&] { document.setSound({}); });
    document.undo();
    EXPECT_EQ(document.animation().sound(), (SoundReference{"voice.wav", 12}));
    document.undo();
    EXPECT_FALSE(document.animation().sound().has());
    EXPECT_EQ(document.redoStep()->name, "Sound");
}
