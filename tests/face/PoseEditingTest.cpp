// Undo and redo, mirror, symmetric editing and dragging, on the pose alone.
#include "face/FaceDrag.h"
#include "face/FaceGeometry.h"
#include "face/PoseHistory.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool samePose(const float* a, const float* b) {
    return std::memcmp(a, b, PoseCount * sizeof(float)) == 0;
}

// One key press as the main window records it.
bool keyStep(PoseHistory& history, PoseModel& model, int code) {
    PoseState before = model.state();
    model.applyKeyAction(code);
    return history.record(before, model);
}

TEST(PoseHistory, UndoAndRedoWalkTheStepsAndANewStepDropsTheRedoSteps) {
    PoseHistory history;
    PoseModel model;
    EXPECT_FALSE(history.undo(model));
    model.selection = HandleMouthFirst;
    EXPECT_TRUE(keyStep(history, model, KeyRaise));
    model.selection = HandleLidFirst;
    EXPECT_TRUE(keyStep(history, model, KeyRaise));
    EXPECT_FALSE(keyStep(history, model, KeyEyeZUp)) << "a key that changes nothing";
    PoseState two = model.state();
    model.selection = HandleCount - 1; // a click elsewhere

    ASSERT_TRUE(history.undo(model));
    EXPECT_EQ(model.selection, HandleLidFirst) << "the selection comes back too";
    EXPECT_EQ(model.pose[PoseLidFirst], 30);
    EXPECT_EQ(model.pose[PoseMouthFirst], 0.05f);
    ASSERT_TRUE(history.undo(model));
    EXPECT_EQ(model.selection, HandleMouthFirst);
    EXPECT_TRUE(samePose(model.pose, PoseModel().pose));
    EXPECT_FALSE(history.canUndo());
    ASSERT_TRUE(history.redo(model));
    ASSERT_TRUE(history.redo(model));
    EXPECT_TRUE(samePose(model.pose, two.pose));
    EXPECT_EQ(model.selection, HandleCount - 1) << "redo takes back what undo changed";
    EXPECT_FALSE(history.redo(model));

    history.undo(model);
    EXPECT_TRUE(keyStep(history, model, KeyLower));
    EXPECT_FALSE(history.canRedo());
}

TEST(PoseHistory, KeepsOnlyTheNewestStepsUpToItsLimit) {
    PoseHistory history(3);
    PoseModel model;
    for (int i = 0; i < 5; ++i)
        keyStep(history, model, KeyEyeXUp);
    int undone = 0;
    while (history.undo(model))
        ++undone;
    EXPECT_EQ(undone, 3);
    EXPECT_EQ(model.pose[PoseEyeX], 2);
}

TEST(PoseModel, MirrorSwapsTheSidesAndTurnsTheEyesBack) {
    PoseModel model;
    const float pose[PoseCount] = {10, 20, -30, 0.25f, 1, 2, 3, 4, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
    const float mirrored[PoseCount] = {10, -20,  30,   0.25f, 3,    4,   1,
                                       2,  0.5f, 0.4f, 0.3f,  0.2f, 0.1f};
    std::memcpy(model.pose, pose, sizeof pose);
    model.mirrorPose();
    EXPECT_TRUE(samePose(model.pose, mirrored));
    model.mirrorPose();
    EXPECT_TRUE(samePose(model.pose, pose));
    PoseModel still;
    still.mirrorPose();
    EXPECT_TRUE(samePose(still.pose, PoseModel().pose)) << "no -0 for an unturned eye";
}

TEST(PoseModel, SymmetricEditingGivesThePartnerTheNewValue) {
    struct Case {
        int selection, code, partner;
        float value;
    } cases[] = {{HandleLidFirst, KeyRaise, PoseLidFirst + 2, 29},
                 {HandleLidFirst + 3, KeyLower, PoseLidFirst + 1, -29},
                 {HandleMouthFirst + 1, KeyRaise, PoseMouthFirst + 3, 0.05f},
                 {HandleMouthFirst + 4, KeyLower, PoseMouthFirst, -0.05f}};
    for (const Case& c : cases) {
        PoseModel model;
        model.symmetric = true;
        model.selection = c.selection;
        model.applyKeyAction(c.code);
        EXPECT_EQ(model.pose[c.selection + 2], c.value) << c.selection;
        EXPECT_EQ(model.pose[c.partner], c.value) << c.selection;
        model.mirrorPose();
        EXPECT_EQ(model.pose[c.partner], c.value) << "symmetric: mirror changes nothing";
    }
    PoseModel middle;
    middle.symmetric = true;
    middle.selection = HandleMouthFirst + 2;
    middle.setSelectedValue(0.5f);
    for (int i = PoseMouthFirst; i < PoseCount; ++i)
        EXPECT_EQ(middle.pose[i], i == PoseMouthFirst + 2 ? 0.5f : 0) << i;
}

TEST(FaceDrag, LidsAndMouthPointsLandOnThePointersRowWithinTheirLimits) {
    PoseModel model;
    for (int handle = HandleLidFirst; handle < HandleCount; ++handle) {
        bool lid = handle < HandleMouthFirst;
        for (int row = 60; row < 320; ++row) {
            model.resetPose();
            model.selection = handle;
            FaceDrag drag;
            drag.begin(model.state(), 175, 175);
            drag.moveTo(model, 100, row, 175, 175);
            float value = model.pose[handle + 2];
            ASSERT_LE(std::abs(value), lid ? 90 : 1) << handle << " row " << row;
            int drawn = FaceGeometry(model.pose, 175, 175).partRow(handle);
            // Within reach (lid edges 25 pixels about the eyes' line, mouth
            // points 55 about the base) the part is drawn on the row.
            int reach = lid ? 25 : 55, line = lid ? 138 : 235;
            if (std::abs(row - line) < reach)
                ASSERT_EQ(drawn, row) << handle << " value " << value;
            else
                ASSERT_EQ(std::abs(value), lid ? 90 : 1) << handle << " row " << row;
        }
    }
    model.resetPose();
    model.selection = HandleMouthFirst;
    FaceDrag drag;
    drag.begin(model.state(), 75, 235);
    drag.moveTo(model, 75, 224, 175, 175);
    EXPECT_FLOAT_EQ(model.pose[PoseMouthFirst], 0.2f) << "11 pixels up";
}

TEST(FaceDrag, EyesTurnOneDegreePerPixelWithinNinety) {
    PoseModel model;
    model.selection = HandleLeftPupil + 1;
    model.pose[PoseEyeX] = 120; // from a file, beyond the keyboard's range
    FaceDrag drag;
    drag.begin(model.state(), 200, 100);
    EXPECT_FALSE(drag.moveTo(model, 200, 100, 175, 175)) << "no movement, no change";
    EXPECT_TRUE(drag.moveTo(model, 230, 100, 175, 175));
    EXPECT_EQ(model.pose[PoseEyeY], 30);
    EXPECT_EQ(model.pose[PoseEyeX], 120) << "an axis not moved along keeps its value";
    drag.moveTo(model, 50, 140, 175, 175);
    EXPECT_EQ(model.pose[PoseEyeY], -90);
    EXPECT_EQ(model.pose[PoseEyeX], 80);
}

} // namespace
