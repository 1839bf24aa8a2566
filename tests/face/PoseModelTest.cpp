#include "face/PoseModel.h"

#include <gtest/gtest.h>

namespace {

void press(PoseModel& model, int code, int times) {
    for (int i = 0; i < times; ++i)
        model.applyKeyAction(code);
}

TEST(PoseModel, StartsAtDefaultsWithNoSelection) {
    PoseModel model;
    const float expected[PoseCount] = {0, 0, 0, 0.5f, 30, -30, 30, -30, 0, 0, 0, 0, 0};
    for (int i = 0; i < PoseCount; ++i) {
        EXPECT_EQ(model.pose[i], expected[i]) << i;
        EXPECT_EQ(model.resetCopy[i], expected[i]) << i;
    }
    EXPECT_EQ(model.selection, -1);
}

TEST(PoseModel, ResetRestoresDefaultsAndKeepsSelection) {
    PoseModel model;
    model.selection = 7;
    for (float& v : model.pose)
        v = 123;
    model.resetPose();
    EXPECT_EQ(model.pose[3], 0.5f);
    EXPECT_EQ(model.pose[5], -30);
    EXPECT_EQ(model.resetCopy[4], 30);
    EXPECT_EQ(model.selection, 7);
}

TEST(PoseModel, EyeActionsWithoutSelection) {
    struct Case {
        int code;
        int index;
        float after;
    };
    const Case cases[] = {{1, 0, 1}, {2, 0, -1}, {3, 1, 1},     {4, 1, -1},
                          {5, 2, 1}, {6, 2, -1}, {7, 3, 0.55f}, {8, 3, 0.45f}};
    for (int selection : {-1, 0, 1}) {
        for (const Case& c : cases) {
            PoseModel model;
            model.selection = selection;
            model.applyKeyAction(c.code);
            EXPECT_EQ(model.pose[c.index], c.after) << "code " << c.code << " sel " << selection;
            for (int i = 0; i < PoseCount; ++i)
                if (i != c.index) {
                    EXPECT_EQ(model.pose[i], model.resetCopy[i]);
                }
        }
    }
}

TEST(PoseModel, EyeLimits) {
    PoseModel model;
    press(model, 1, 91);
    EXPECT_EQ(model.pose[0], 90);
    press(model, 2, 200);
    EXPECT_EQ(model.pose[0], -90);
    press(model, 3, 95);
    EXPECT_EQ(model.pose[1], 90);
    press(model, 4, 181);
    EXPECT_EQ(model.pose[1], -90);
}

TEST(PoseModel, ZRotationWrapsToZeroPastAFullTurn) {
    PoseModel model;
    press(model, 5, 360);
    EXPECT_EQ(model.pose[2], 360);
    model.applyKeyAction(5);
    EXPECT_EQ(model.pose[2], 0);
    press(model, 6, 360);
    EXPECT_EQ(model.pose[2], -360);
    model.applyKeyAction(6);
    EXPECT_EQ(model.pose[2], 0);
}

TEST(PoseModel, PupilSteps) {
    PoseModel model;
    press(model, 8, 8);
    EXPECT_GT(model.pose[3], 0.05f);
    EXPECT_NEAR(model.pose[3], 0.1, 1e-6);
    model.applyKeyAction(8);
    EXPECT_EQ(model.pose[3], 0);
    model.applyKeyAction(7);
    EXPECT_EQ(model.pose[3], 0.05f);
    model.applyKeyAction(8);
    EXPECT_EQ(model.pose[3], 0);

    model.resetPose();
    press(model, 7, 9);
    EXPECT_LT(model.pose[3], 1.0f);
    model.applyKeyAction(7);
    EXPECT_EQ(model.pose[3], 1);
}

TEST(PoseModel, StepIsDoubleArithmeticStoredAsFloat) {
    PoseModel model;
    model.selection = 6;
    model.applyKeyAction(3);
    model.applyKeyAction(4);
    // The float 0.05 minus the double 0.05.
    EXPECT_EQ(model.pose[8], float(double(0.05f) - 0.05));
    EXPECT_NE(model.pose[8], 0);
}

TEST(PoseModel, ZeroingActions) {
    PoseModel model;
    press(model, 1, 5);
    press(model, 3, 6);
    press(model, 5, 7);
    model.applyKeyAction(9);
    EXPECT_EQ(model.pose[0], 0);
    EXPECT_EQ(model.pose[1], 6);
    model.applyKeyAction(10);
    EXPECT_EQ(model.pose[1], 0);
    EXPECT_EQ(model.pose[2], 7);
    model.applyKeyAction(11);
    EXPECT_EQ(model.pose[2], 0);
}

TEST(PoseModel, LidAndMouthIgnoreEyeOnlyCodes) {
    for (int selection : {2, 5, 6, 10}) {
        PoseModel model;
        model.selection = selection;
        for (int code : {0, 1, 2, 5, 6, 7, 8, 9, 11, 12, -1, 99})
            model.applyKeyAction(code);
        for (int i = 0; i < PoseCount; ++i)
            EXPECT_EQ(model.pose[i], model.resetCopy[i]) << "sel " << selection << " i " << i;
    }
}

TEST(PoseModel, LidMovesOppositeToKeyAndClamps) {
    PoseModel model;
    model.selection = 2;
    model.applyKeyAction(3);
    EXPECT_EQ(model.pose[4], 29);
    model.applyKeyAction(4);
    model.applyKeyAction(4);
    EXPECT_EQ(model.pose[4], 31);
    press(model, 4, 100);
    EXPECT_EQ(model.pose[4], 90);
    press(model, 3, 200);
    EXPECT_EQ(model.pose[4], -90);
}

TEST(PoseModel, RestoreLidFromResetCopy) {
    PoseModel model;
    model.selection = 3;
    press(model, 3, 7);
    EXPECT_EQ(model.pose[5], -37);
    model.applyKeyAction(10);
    EXPECT_EQ(model.pose[5], -30);
    EXPECT_EQ(model.pose[1], 0);
}

TEST(PoseModel, MouthPointStepsAndClamps) {
    PoseModel model;
    model.selection = 10;
    press(model, 3, 25);
    EXPECT_EQ(model.pose[12], 1);
    press(model, 4, 60);
    EXPECT_EQ(model.pose[12], -1);
    model.applyKeyAction(10);
    EXPECT_EQ(model.pose[12], 0);
    for (int i = 8; i < 12; ++i)
        EXPECT_EQ(model.pose[i], 0);
}

TEST(PoseModel, OutOfRangeValueStaysUntilAnActionClampsIt) {
    PoseModel model;
    model.pose[0] = 120;
    model.applyKeyAction(3);
    EXPECT_EQ(model.pose[0], 120);
    model.applyKeyAction(1);
    EXPECT_EQ(model.pose[0], 90);
}

} // namespace
