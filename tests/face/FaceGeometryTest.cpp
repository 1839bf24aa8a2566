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
    EXPECT_DOUBLE_EQ(face.handles[0].x, 128);
    EXPECT_DOUBLE_EQ(face.handles[0].y, 138);
    EXPECT_DOUBLE_EQ(face.handles[1].x, 228);
    EXPECT_DOUBLE_EQ(face.handles[1].y, 138);
    EXPECT_DOUBLE_EQ(face.pupilRadius, 5);
    // The single-precision pi leaves the lids a hair inside ±12.5.
    EXPECT_LT(face.lid[0], 12.5f);
    EXPECT_GT(face.lid[0], 12.49f);
    EXPECT_GT(face.lid[1], -12.5f);
    EXPECT_EQ(truncate(175 - 37 + face.lid[0]), 150);
    EXPECT_EQ(truncate(175 - 37 + face.lid[1]), 125);
    EXPECT_DOUBLE_EQ(face.handles[2].x, 165);
    EXPECT_NEAR(face.handles[2].y, 150.5, 0.01);
    EXPECT_NEAR(face.handles[3].y, 120.5, 0.01);
    EXPECT_DOUBLE_EQ(face.handles[5].x, 185);
    EXPECT_EQ(face.mouthBase, 235);
    for (int k = 0; k < 5; ++k) {
        EXPECT_DOUBLE_EQ(face.handles[6 + k].x, 75 + 50 * k);
        EXPECT_DOUBLE_EQ(face.handles[6 + k].y, 235);
    }
}

TEST_F(DefaultFace, NearestHandle) {
    EXPECT_EQ(nearestHandle(face.handles, 175, 235), 8);
    EXPECT_EQ(nearestHandle(face.handles, 128, 138), 0);
    EXPECT_EQ(nearestHandle(face.handles, 229, 140), 1);
    // (165, 150.5): both differences truncate to 0.
    EXPECT_EQ(nearestHandle(face.handles, 165, 150), 2);
    // Midway between the first two mouth points: the lower index wins.
    EXPECT_EQ(nearestHandle(face.handles, 100, 235), 6);
    EXPECT_EQ(nearestHandle(face.handles, 175, 900), 8);
}

TEST(FaceGaze, RotationsMoveThePupils) {
    PoseModel model;
    model.pose[PoseEyeX] = 90;
    FaceGeometry up(model.pose, 175, 175);
    EXPECT_NEAR(up.handles[0].x, 128, 1e-9);
    EXPECT_NEAR(up.handles[0].y, 113, 1e-9);
    model.pose[PoseEyeX] = 0;
    model.pose[PoseEyeY] = 90;
    FaceGeometry right(model.pose, 175, 175);
    EXPECT_NEAR(right.handles[0].x, 153, 1e-9);
    EXPECT_NEAR(right.handles[1].x, 253, 1e-9);
    EXPECT_NEAR(right.handles[1].y, 138, 1e-9);
    model.pose[PoseEyeY] = 0;
    model.pose[PoseEyeZ] = 37;
    FaceGeometry turned(model.pose, 175, 175);
    EXPECT_EQ(turned.handles[0].x, 128);
    EXPECT_EQ(turned.handles[0].y, 138);
}

TEST(FaceGaze, MouthFollowsItsValuesAndTheCentre) {
    PoseModel model;
    model.pose[PoseMouthFirst + 2] = 1;
    model.pose[PoseMouthFirst + 4] = -0.5f;
    FaceGeometry face(model.pose, 200.0f, 161.0f);
    EXPECT_EQ(face.mouthBase, 221);
    EXPECT_DOUBLE_EQ(face.handles[8].x, 200);
    EXPECT_DOUBLE_EQ(face.handles[8].y, 221 - 55);
    EXPECT_DOUBLE_EQ(face.handles[10].y, 221 + 27.5);
}

TEST(NearestHandleLimits, NothingAt900OrBeyond) {
    HandlePoint handles[HandleCount];
    for (HandlePoint& h : handles)
        h = {1e9, 1e9};
    EXPECT_EQ(nearestHandle(handles, 175, 235), -1);
    handles[4] = {900, 0};
    EXPECT_EQ(nearestHandle(handles, 0, 0), -1);
    handles[4] = {899.5, 0};
    EXPECT_EQ(nearestHandle(handles, 0, 0), 4) << "899.5 truncates to 899";
}

TEST(NearestHandleLimits, AbsurdValuesFromAFileStayDefined) {
    PoseModel model;
    model.pose[PoseEyeX] = std::numeric_limits<float>::quiet_NaN();
    model.pose[PoseMouthFirst] = 1e30f;
    model.pose[PoseMouthFirst + 1] = -std::numeric_limits<float>::infinity();
    model.pose[PoseLidFirst] = 1e38f;
    FaceGeometry face(model.pose, 175, 175);
    EXPECT_EQ(truncate(face.handles[6].y), -1000000);
    EXPECT_EQ(truncate(face.handles[7].y), 1000000);
    EXPECT_EQ(truncate(face.handles[0].x), 1000000) << "NaN lies far away";
    EXPECT_EQ(nearestHandle(face.handles, 175, 235), 8);
    EXPECT_EQ(truncate(-2.9), -2);
    EXPECT_EQ(truncate(2.9), 2);
}

} // namespace
