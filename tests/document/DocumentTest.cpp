// The document's one history over random sequences of the editor's changes:
// each undo brings back the state before its step, each redo the state
// after it, selection and playhead included; a gesture is one step.
#include "document/Document.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

struct Snapshot {
    PoseState pose;
    int playhead;
    Animation animation;

    bool operator==(const Snapshot& other) const {
        return std::memcmp(&pose, &other.pose, sizeof pose) == 0 && playhead == other.playhead &&
               animation == other.animation;
    }
};

Snapshot snapshot(const Document& document) {
    return {document.model().state(), document.playhead(), document.animation()};
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

// One of the editor's changes, chosen at random; some are no step.
void randomChange(Document& document, std::mt19937& random) {
    auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    auto step = [&document](const char* name, auto change, int gesture = GestureNone) {
        document.begin(name, gesture);
        change(document.pose());
        document.commit();
    };
    int part = pick(12) - 1, frame = pick(document.lastFrame() + 1);
    switch (pick(10)) {
    case 0:
        step("Key", [&](PoseModel& pose) {
            pose.selection = part;
            pose.applyKeyAction(pick(11) + 1);
        });
        break;
    case 1:
        document.beginGesture(GestureDrag);
        step(
            "Drag", [&](PoseModel& pose) { pose.selection = part; }, GestureDrag);
        for (int move = pick(5); move > 0; --move)
            step(
                "Drag", [&](PoseModel& pose) { pose.setSelectedValue(pick(100) / 100.0f); },
                GestureDrag);
        document.endGesture();
        break;
    case 2: document.moveTo(pick(document.lastFrame() + 3) - 1); break;
    case 3: document.setKeying(!document.keying()); break;
    case 4:
        step("Set key", [&](PoseModel& pose) { document.setKey(document.playhead(), pose.pose); });
        break;
    case 5: step("Delete key", [&](PoseModel&) { document.removeKey(document.playhead()); }); break;
    case 6:
        step("Move key", [&](PoseModel&) { document.moveKey(document.playhead(), frame); });
        break;
    case 7: {
        AnimationSettings settings{pick(60) + 1, pick(40) + 1, Interpolation(pick(3))};
        step("Animation settings", [&](PoseModel&) { document.setSettings(settings); });
        break;
    }
    case 8: {
        Animation opened;
        opened.setSettings({25, pick(30) + 1, InterpolateLinear});
        float pose[PoseCount] = {float(pick(90))};
        for (int key = pick(4); key > 0; --key)
            opened.setKey(pick(30), pose);
        step("Open animation", [&](PoseModel&) { document.replaceAnimation(opened); });
        break;
    }
    default: step("Mirror", [](PoseModel& pose) { pose.mirrorPose(); }); break;
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
