// Mirror, symmetric editing and dragging, on the pose alone.
#include "face/FaceDrag.h"
#include "face/FaceGeometry.h"
#include "face/PoseModel.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool samePose(const float* a, const float* b) {
    return std::memcmp(a, b, PoseCount * sizeof(float)) == 0;
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

TEST(PoseModel, SymmetricEditingGivesThePartnerThePartsValue) {
    for (int selection = HandleLidFirst; selection < HandleCount; ++selection) {
        PoseModel model;
        model.symmetric = true;
        model.pose[mirrorIndex(selection + 2)] = 0.5f;
        model.selection = selection;
        // Restore leaves the part at its reset value as it was.
        model.applyKeyAction(selection % 2 ? KeyRaise : KeyRestore);
        PoseState once = model.state();
        model.mirrorPose(); // its own mirror image, without -0 for the unturned eyes
        EXPECT_TRUE(samePose(model.pose, once.pose)) << selection;
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
