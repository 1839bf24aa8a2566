#include "face/FaceGeometry.h"
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
    model.selection = HandleMouthFirst + 1;
    for (float& v : model.pose)
        v = 123;
    model.resetPose();
    EXPECT_EQ(model.pose[PosePupil], 0.5f);
    EXPECT_EQ(model.pose[PoseLidFirst + 1], -30);
    EXPECT_EQ(model.resetCopy[PoseLidFirst], 30);
    EXPECT_EQ(model.selection, 7);
}

TEST(PoseModel, EyeActionsWithoutSelection) {
    struct Case {
        int code;
        int index;
        float after;
    };
    const Case cases[] = {{KeyEyeXUp, PoseEyeX, 1},         {KeyEyeXDown, PoseEyeX, -1},
                          {KeyRaise, PoseEyeY, 1},          {KeyLower, PoseEyeY, -1},
                          {KeyEyeZUp, PoseEyeZ, 1},         {KeyEyeZDown, PoseEyeZ, -1},
                          {KeyPupilGrow, PosePupil, 0.55f}, {KeyPupilShrink, PosePupil, 0.45f}};
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
    press(model, KeyEyeXUp, 91);
    EXPECT_EQ(model.pose[PoseEyeX], 90);
    press(model, KeyEyeXDown, 200);
    EXPECT_EQ(model.pose[PoseEyeX], -90);
    press(model, KeyRaise, 95);
    EXPECT_EQ(model.pose[PoseEyeY], 90);
    press(model, KeyLower, 181);
    EXPECT_EQ(model.pose[PoseEyeY], -90);
}

TEST(PoseModel, ZRotationWrapsToZeroPastAFullTurn) {
    PoseModel model;
    press(model, KeyEyeZUp, 360);
    EXPECT_EQ(model.pose[PoseEyeZ], 360);
    model.applyKeyAction(KeyEyeZUp);
    EXPECT_EQ(model.pose[PoseEyeZ], 0);
    press(model, KeyEyeZDown, 360);
    EXPECT_EQ(model.pose[PoseEyeZ], -360);
    model.applyKeyAction(KeyEyeZDown);
    EXPECT_EQ(model.pose[PoseEyeZ], 0);
}

TEST(PoseModel, PupilSteps) {
    PoseModel model;
    press(model, KeyPupilShrink, 8);
    EXPECT_GT(model.pose[PosePupil], 0.05f);
    EXPECT_NEAR(model.pose[PosePupil], 0.1, 1e-6);
    model.applyKeyAction(KeyPupilShrink);
    EXPECT_EQ(model.pose[PosePupil], 0);
    model.applyKeyAction(KeyPupilGrow);
    EXPECT_EQ(model.pose[PosePupil], 0.05f);
    model.applyKeyAction(KeyPupilShrink);
    EXPECT_EQ(model.pose[PosePupil], 0);

    model.resetPose();
    press(model, KeyPupilGrow, 9);
    EXPECT_LT(model.pose[PosePupil], 1.0f);
    model.applyKeyAction(KeyPupilGrow);
    EXPECT_EQ(model.pose[PosePupil], 1);
}

TEST(PoseModel, StepIsDoubleArithmeticStoredAsFloat) {
    PoseModel model;
    model.selection = HandleMouthFirst;
    model.applyKeyAction(KeyRaise);
    model.applyKeyAction(KeyLower);
    // The float 0.05 minus the double 0.05.
    EXPECT_EQ(model.pose[PoseMouthFirst], float(double(0.05f) - 0.05));
    EXPECT_NE(model.pose[PoseMouthFirst], 0);
}

TEST(PoseModel, ZeroingActions) {
    PoseModel model;
    press(model, KeyEyeXUp, 5);
    press(model, KeyRaise, 6);
    press(model, KeyEyeZUp, 7);
    model.applyKeyAction(KeyZeroEyeX);
    EXPECT_EQ(model.pose[PoseEyeX], 0);
    EXPECT_EQ(model.pose[PoseEyeY], 6);
    model.applyKeyAction(KeyRestore);
    EXPECT_EQ(model.pose[PoseEyeY], 0);
    EXPECT_EQ(model.pose[PoseEyeZ], 7);
    model.applyKeyAction(KeyZeroEyeZ);
    EXPECT_EQ(model.pose[PoseEyeZ], 0);
}

TEST(PoseModel, LidAndMouthIgnoreEyeOnlyCodes) {
    for (int selection : std::initializer_list<int>{HandleLidFirst, HandleLidFirst + 3,
                                                    HandleMouthFirst, HandleMouthFirst + 4}) {
        PoseModel model;
        model.selection = selection;
        for (int code : std::initializer_list<int>{KeyNone, KeyEyeXUp, KeyEyeXDown, KeyEyeZUp,
                                                   KeyEyeZDown, KeyPupilGrow, KeyPupilShrink,
                                                   KeyZeroEyeX, KeyZeroEyeZ, 12, -1, 99})
            model.applyKeyAction(code);
        for (int i = 0; i < PoseCount; ++i)
            EXPECT_EQ(model.pose[i], model.resetCopy[i]) << "sel " << selection << " i " << i;
    }
}

TEST(PoseModel, LidMovesOppositeToKeyAndClamps) {
    PoseModel model;
    model.selection = HandleLidFirst;
    model.applyKeyAction(KeyRaise);
    EXPECT_EQ(model.pose[PoseLidFirst], 29);
    model.applyKeyAction(KeyLower);
    model.applyKeyAction(KeyLower);
    EXPECT_EQ(model.pose[PoseLidFirst], 31);
    press(model, KeyLower, 100);
    EXPECT_EQ(model.pose[PoseLidFirst], 90);
    press(model, KeyRaise, 200);
    EXPECT_EQ(model.pose[PoseLidFirst], -90);
}

TEST(PoseModel, RestoreLidFromResetCopy) {
    PoseModel model;
    model.selection = HandleLidFirst + 1;
    press(model, KeyRaise, 7);
    EXPECT_EQ(model.pose[PoseLidFirst + 1], -37);
    model.applyKeyAction(KeyRestore);
    EXPECT_EQ(model.pose[PoseLidFirst + 1], -30);
    EXPECT_EQ(model.pose[PoseEyeY], 0);
}

TEST(PoseModel, MouthPointStepsAndClamps) {
    PoseModel model;
    model.selection = HandleMouthFirst + 4;
    press(model, KeyRaise, 25);
    EXPECT_EQ(model.pose[PoseMouthFirst + 4], 1);
    press(model, KeyLower, 60);
    EXPECT_EQ(model.pose[PoseMouthFirst + 4], -1);
    model.applyKeyAction(KeyRestore);
    EXPECT_EQ(model.pose[PoseMouthFirst + 4], 0);
    for (int i = PoseMouthFirst; i < PoseMouthFirst + 4; ++i)
        EXPECT_EQ(model.pose[i], 0);
}

TEST(PoseModel, OutOfRangeValueStaysUntilAnActionClampsIt) {
    PoseModel model;
    model.pose[PoseEyeX] = 120;
    model.applyKeyAction(KeyRaise);
    EXPECT_EQ(model.pose[PoseEyeX], 120);
    model.applyKeyAction(KeyEyeXUp);
    EXPECT_EQ(model.pose[PoseEyeX], 90);
}

} // namespace
