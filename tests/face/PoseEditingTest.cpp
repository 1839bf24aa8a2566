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
bool keyStep(PoseHistory& history, PoseModel& model, int selection, int code) {
    PoseState before = model.state();
    model.selection = selection;
    model.applyKeyAction(code);
    return history.record(before, model);
}

TEST(PoseHistory, UndoRedoBringBackPoseAndSelectionAndANewStepDropsRedo) {
    PoseHistory history;
    PoseModel model;
    EXPECT_TRUE(keyStep(history, model, HandleMouthFirst, KeyRaise));
    EXPECT_TRUE(keyStep(history, model, HandleLidFirst, KeyRaise));
    EXPECT_FALSE(keyStep(history, model, HandleLidFirst, KeyEyeZUp)) << "no change, no step";
    PoseState two = model.state();
    ASSERT_TRUE(history.undo(model));
    EXPECT_TRUE(model.pose[PoseLidFirst] == 30 && model.selection == HandleMouthFirst);
    ASSERT_TRUE(history.undo(model));
    EXPECT_TRUE(samePose(model.pose, PoseModel().pose));
    EXPECT_FALSE(history.undo(model));
    ASSERT_TRUE(history.redo(model) && history.redo(model));
    EXPECT_TRUE(samePose(model.pose, two.pose));
    EXPECT_FALSE(history.redo(model));
    history.undo(model);
    EXPECT_TRUE(keyStep(history, model, HandleLidFirst, KeyLower));
    EXPECT_FALSE(history.canRedo());

    PoseHistory short3(3);
    for (int i = 0; i < 5; ++i)
        keyStep(short3, model, -1, KeyEyeXUp);
    while (short3.undo(model)) {
    }
    EXPECT_EQ(model.pose[PoseEyeX], 2) << "only the newest 3 steps are kept";
}

TEST(PoseModel, MirrorSwapsTheSidesAndTurnsTheEyesBackTheSelectionFollowing) {
    PoseModel model;
    const float pose[PoseCount] = {10, 20, -30, 0.25f, 1, 2, 3, 4, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
    const float mirrored[PoseCount] = {10, -20,  30,   0.25f, 3,    4,   1,
                                       2,  0.5f, 0.4f, 0.3f,  0.2f, 0.1f};
    std::memcpy(model.pose, pose, sizeof pose);
    model.selection = HandleLidFirst; // the left lower lid, 1
    model.mirrorPose();
    EXPECT_TRUE(samePose(model.pose, mirrored) && model.selection == HandleLidFirst + 2);
    model.mirrorPose();
    EXPECT_TRUE(samePose(model.pose, pose));
}

TEST(PoseModel, SymmetricEditingGivesThePartnerThePartsValueInOneStep) {
    for (int selection = HandleLidFirst; selection < HandleCount; ++selection) {
        PoseModel model;
        PoseHistory history;
        model.symmetric = true;
        model.pose[mirrorIndex(selection + 2)] = 0.5f;
        PoseState before = model.state();
        // Restore leaves the part at its reset value as it was.
        keyStep(history, model, selection, selection % 2 ? KeyRaise : KeyRestore);
        PoseState once = model.state();
        model.mirrorPose(); // its own mirror image, without -0 for the unturned eyes
        EXPECT_TRUE(samePose(model.pose, once.pose)) << selection;
        EXPECT_TRUE(history.undo(model) && !history.canUndo()) << selection;
        EXPECT_TRUE(samePose(model.pose, before.pose)) << selection;
    }
}

TEST(FaceDrag, LidsAndMouthPointsMoveAsManyRowsAsThePointerWithinTheirLimits) {
    for (int handle = HandleLidFirst; handle < HandleCount; ++handle) {
        bool lid = handle < HandleMouthFirst;
        // Pressed 20 rows below the part: the part stays 20 rows above the pointer.
        int press = FaceGeometry(PoseModel().pose, 175, 175).partRow(handle) + 20;
        for (int row = 60; row < 320; ++row) {
            PoseModel model;
            model.selection = handle;
            FaceDrag drag;
            drag.begin(model.state(), 175, press);
            ASSERT_EQ(drag.moveTo(model, 100, row, 175, 175), row != press) << handle;
            float value = model.pose[handle + 2];
            // Lids reach 25 pixels about the eyes' line, mouth points 55 about theirs.
            if (std::abs(row - 20 - (lid ? 138 : 235)) < (lid ? 25 : 55))
                ASSERT_EQ(FaceGeometry(model.pose, 175, 175).partRow(handle), row - 20) << handle;
            else
                ASSERT_EQ(std::abs(value), lid ? 90 : 1) << handle << " row " << row;
        }
    }
}

TEST(FaceDrag, EyesTurnOneDegreePerPixelWithinNinety) {
    PoseModel model;
    model.selection = HandleLeftPupil + 1;
    model.pose[PoseEyeX] = 120; // from a file, beyond the keyboard's range
    FaceDrag drag;
    drag.begin(model.state(), 200, 100);
    EXPECT_FALSE(drag.moveTo(model, 200, 100, 175, 175)) << "no movement, no change";
    drag.moveTo(model, 230, 100, 175, 175);
    EXPECT_TRUE(model.pose[PoseEyeY] == 30 && model.pose[PoseEyeX] == 120) << "x not moved";
    drag.moveTo(model, 50, 140, 175, 175);
    EXPECT_TRUE(model.pose[PoseEyeY] == -90 && model.pose[PoseEyeX] == 80);
}

} // namespace
