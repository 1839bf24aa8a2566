// Where the face's parts and handles lie, and which handle a click selects.
#include "face/FaceGeometry.h"
#include "face/PoseModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct DefaultFace : ::testing::Test {
    PoseModel model;
    FaceGeometry face{model.pose, 175, 175};
};

TEST_F(DefaultFace, HandlesOfTheDefaultPose) {
    EXPECT_DOUBLE_EQ(face.handles[HandleLeftPupil].x, 128);
    EXPECT_DOUBLE_EQ(face.handles[HandleLeftPupil].y, 138);
    EXPECT_DOUBLE_EQ(face.handles[HandleLeftPupil + 1].x, 228);
    EXPECT_DOUBLE_EQ(face.handles[HandleLeftPupil + 1].y, 138);
    EXPECT_DOUBLE_EQ(face.pupilRadius, 5);
    // The single-precision pi leaves the lids a hair inside ±12.5.
    EXPECT_LT(face.lid[0], 12.5f);
    EXPECT_GT(face.lid[0], 12.49f);
    EXPECT_GT(face.lid[1], -12.5f);
    EXPECT_EQ(truncateToPixel(175 - 37 + face.lid[0]), 150);
    EXPECT_EQ(truncateToPixel(175 - 37 + face.lid[1]), 125);
    EXPECT_DOUBLE_EQ(face.handles[HandleLidFirst].x, 165);
    EXPECT_NEAR(face.handles[HandleLidFirst].y, 150.5, 0.01);
    EXPECT_NEAR(face.handles[HandleLidFirst + 1].y, 120.5, 0.01);
    EXPECT_DOUBLE_EQ(face.handles[HandleLidFirst + 3].x, 185);
    EXPECT_EQ(face.mouthBase, 235);
    for (int k = 0; k < 5; ++k) {
        EXPECT_DOUBLE_EQ(face.handles[HandleMouthFirst + k].x, 75 + 50 * k);
        EXPECT_DOUBLE_EQ(face.handles[HandleMouthFirst + k].y, 235);
    }
}

TEST_F(DefaultFace, NearestHandle) {
    EXPECT_EQ(nearestHandle(face.handles, 175, 235), HandleMouthFirst + 2);
    EXPECT_EQ(nearestHandle(face.handles, 128, 138), HandleLeftPupil);
    EXPECT_EQ(nearestHandle(face.handles, 229, 140), HandleLeftPupil + 1);
    // (165, 150.5): both differences truncate to 0.
    EXPECT_EQ(nearestHandle(face.handles, 165, 150), HandleLidFirst);
    // Midway between the first two mouth points: the lower index wins.
    EXPECT_EQ(nearestHandle(face.handles, 100, 235), HandleMouthFirst);
    EXPECT_EQ(nearestHandle(face.handles, 175, 900), HandleMouthFirst + 2);
}

TEST(FaceGaze, RotationsMoveThePupils) {
    PoseModel model;
    model.pose[PoseEyeX] = 90;
    FaceGeometry up(model.pose, 175, 175);
    EXPECT_NEAR(up.handles[HandleLeftPupil].x, 128, 1e-9);
    EXPECT_NEAR(up.handles[HandleLeftPupil].y, 113, 1e-9);
    model.pose[PoseEyeX] = 0;
    model.pose[PoseEyeY] = 90;
    FaceGeometry right(model.pose, 175, 175);
    EXPECT_NEAR(right.handles[HandleLeftPupil].x, 153, 1e-9);
    EXPECT_NEAR(right.handles[HandleLeftPupil + 1].x, 253, 1e-9);
    EXPECT_NEAR(right.handles[HandleLeftPupil + 1].y, 138, 1e-9);
    model.pose[PoseEyeY] = 0;
    model.pose[PoseEyeZ] = 37;
    FaceGeometry turned(model.pose, 175, 175);
    EXPECT_EQ(turned.handles[HandleLeftPupil].x, 128);
    EXPECT_EQ(turned.handles[HandleLeftPupil].y, 138);
}

TEST(FaceGaze, MouthFollowsItsValuesAndTheCentre) {
    PoseModel model;
    model.pose[PoseMouthFirst + 2] = 1;
    model.pose[PoseMouthFirst + 4] = -0.5f;
    FaceGeometry face(model.pose, 200.0f, 161.0f);
    EXPECT_EQ(face.mouthBase, 221);
    EXPECT_DOUBLE_EQ(face.handles[HandleMouthFirst + 2].x, 200);
    EXPECT_DOUBLE_EQ(face.handles[HandleMouthFirst + 2].y, 221 - 55);
    EXPECT_DOUBLE_EQ(face.handles[HandleMouthFirst + 4].y, 221 + 27.5);
}

TEST(FaceGaze, HandlesKeepTheirDoubleValue) {
    PoseModel model;
    model.selection = HandleMouthFirst;
    model.applyKeyAction(KeyRaise);
    model.applyKeyAction(KeyLower);
    FaceGeometry face(model.pose, 175, 175);
    // 235 - 55 x 7.45058e-10: in float it would round to 235.
    EXPECT_LT(face.handles[HandleMouthFirst].y, 235);
    EXPECT_EQ(truncateToPixel(face.handles[HandleMouthFirst].y), 234);
    // The default lower lid lies a hair above 150.5, which float rounds onto.
    EXPECT_LT(face.handles[HandleLidFirst].y, 150.5);
}

TEST(NearestHandleLimits, NothingAt900OrBeyond) {
    HandlePoint handles[HandleCount];
    for (HandlePoint& h : handles)
        h = {1e9, 1e9};
    EXPECT_EQ(nearestHandle(handles, 175, 235), -1);
    handles[HandleLidFirst + 2] = {900, 0};
    EXPECT_EQ(nearestHandle(handles, 0, 0), -1);
    handles[HandleLidFirst + 2] = {899.5, 0};
    EXPECT_EQ(nearestHandle(handles, 0, 0), HandleLidFirst + 2) << "899.5 truncates to 899";
}

TEST(NearestHandleLimits, AbsurdValuesFromAFileStayDefined) {
    PoseModel model;
    model.pose[PoseEyeX] = std::numeric_limits<float>::quiet_NaN();
    model.pose[PoseMouthFirst] = 1e30f;
    model.pose[PoseMouthFirst + 1] = -std::numeric_limits<float>::infinity();
    model.pose[PoseLidFirst] = 1e38f;
    FaceGeometry face(model.pose, 175, 175);
    EXPECT_EQ(truncateToPixel(face.handles[HandleMouthFirst].y), -1000000);
    EXPECT_EQ(truncateToPixel(face.handles[HandleMouthFirst + 1].y), 1000000);
    EXPECT_EQ(truncateToPixel(face.handles[HandleLeftPupil].x), 1000000) << "NaN lies far away";
    EXPECT_EQ(nearestHandle(face.handles, 175, 235), HandleMouthFirst + 2);
    EXPECT_EQ(truncateToPixel(-2.9), -2);
    EXPECT_EQ(truncateToPixel(2.9), 2);
}

} // namespace
