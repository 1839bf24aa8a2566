#include "face/FaceGeometry.h"
#include "face/PoseModel.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void press(PoseModel& model, int code, int times) {
    for (int i = 0; i < times; ++i)
        model.applyKeyAction(code);
}

// The default values themselves are checked as the default pose file's bytes.
TEST(PoseModel, StartsUnselectedAndResetKeepsTheSelection) {
    PoseModel model;
    EXPECT_EQ(model.selection, -1);
    const PoseModel fresh = model;
    model.selection = HandleMouthFirst + 1;
    for (float& v : model.pose)
        v = 123;
    model.resetPose();
    EXPECT_EQ(std::memcmp(model.pose, fresh.pose, sizeof model.pose), 0);
    EXPECT_EQ(model.selection, HandleMouthFirst + 1);
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

// Presses of one key, then of another, from the defaults: the value after.
TEST(PoseModel, KeysStepWithinTheirLimitsAndRestoreOrZero) {
    const int lid = HandleLidFirst, mouth = HandleMouthFirst, none = KeyNone;
    const struct {
        int selection, key, times, then, thenTimes, index;
        float value;
    } cases[] = {
        {-1, KeyEyeXUp, 91, none, 0, PoseEyeX, 90},
        {-1, KeyEyeXDown, 200, none, 0, PoseEyeX, -90},
        {-1, KeyRaise, 95, none, 0, PoseEyeY, 90},
        {-1, KeyLower, 181, none, 0, PoseEyeY, -90},
        // The z rotation wraps to zero past a full turn.
        {-1, KeyEyeZUp, 360, none, 0, PoseEyeZ, 360},
        {-1, KeyEyeZUp, 361, none, 0, PoseEyeZ, 0},
        {-1, KeyEyeZDown, 360, none, 0, PoseEyeZ, -360},
        {-1, KeyEyeZDown, 361, none, 0, PoseEyeZ, 0},
        {-1, KeyPupilShrink, 8, none, 0, PosePupil, 0.1f},
        {-1, KeyPupilShrink, 9, none, 0, PosePupil, 0},
        {-1, KeyPupilShrink, 9, KeyPupilGrow, 1, PosePupil, 0.05f},
        {-1, KeyPupilGrow, 9, none, 0, PosePupil, 0.95f},
        {-1, KeyPupilGrow, 10, none, 0, PosePupil, 1},
        {-1, KeyEyeXUp, 5, KeyZeroEyeX, 1, PoseEyeX, 0},
        {-1, KeyRaise, 6, KeyZeroEyeX, 1, PoseEyeY, 6},
        {-1, KeyRaise, 6, KeyRestore, 1, PoseEyeY, 0},
        {-1, KeyEyeZUp, 7, KeyRestore, 1, PoseEyeZ, 7},
        {-1, KeyEyeZUp, 7, KeyZeroEyeZ, 1, PoseEyeZ, 0},
        // A lid moves against the key.
        {lid, KeyRaise, 1, none, 0, PoseLidFirst, 29},
        {lid, KeyLower, 1, none, 0, PoseLidFirst, 31},
        {lid, KeyLower, 100, none, 0, PoseLidFirst, 90},
        {lid, KeyRaise, 200, none, 0, PoseLidFirst, -90},
        {lid + 1, KeyRaise, 7, none, 0, PoseLidFirst + 1, -37},
        {lid + 1, KeyRaise, 7, KeyRestore, 1, PoseLidFirst + 1, -30},
        {mouth + 4, KeyRaise, 25, none, 0, PoseMouthFirst + 4, 1},
        {mouth + 4, KeyLower, 60, none, 0, PoseMouthFirst + 4, -1},
        {mouth + 4, KeyLower, 60, KeyRestore, 1, PoseMouthFirst + 4, 0},
    };
    for (const auto& c : cases) {
        PoseModel model;
        model.selection = c.selection;
        press(model, c.key, c.times);
        press(model, c.then, c.thenTimes);
        EXPECT_NEAR(model.pose[c.index], c.value, 1e-5)
            << "key " << c.key << " x" << c.times << ", then " << c.then << ", sel " << c.selection;
    }
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

TEST(PoseModel, OutOfRangeValueStaysUntilAnActionClampsIt) {
    PoseModel model;
    model.pose[PoseEyeX] = 120;
    model.applyKeyAction(KeyRaise);
    EXPECT_EQ(model.pose[PoseEyeX], 120);
    model.applyKeyAction(KeyEyeXUp);
    EXPECT_EQ(model.pose[PoseEyeX], 90);
}

} // namespace
