// The robot face's pose: thirteen values, the selected part, keyboard
// editing, and saving and loading it as a pose file. Needs no platform.
#pragma once

constexpr int PoseCount = 13;

// Pose indexes.
enum PoseIndex {
    PoseEyeX = 0,     // eye rotation about x, degrees
    PoseEyeY = 1,     // about y
    PoseEyeZ = 2,     // about z
    PosePupil = 3,    // pupil size, 0 to 1
    PoseLidFirst = 4, // lower left, upper left, lower right, upper right
    PoseMouthFirst = 8
};

// Key action codes of applyKeyAction.
enum KeyAction {
    KeyNone = 0,
    KeyEyeXUp = 1,      // "4"
    KeyEyeXDown = 2,    // "7"
    KeyRaise = 3,       // "8": eye y up, lid or mouth point up on screen
    KeyLower = 4,       // "5"
    KeyEyeZUp = 5,      // "9"
    KeyEyeZDown = 6,    // "6"
    KeyPupilGrow = 7,   // "+"
    KeyPupilShrink = 8, // "-"
    KeyZeroEyeX = 9,    // "1"
    KeyRestore = 10,    // "2": eye y to 0, or lid / mouth point from resetCopy
    KeyZeroEyeZ = 11    // "3"
};

class PoseModel {
  public:
    PoseModel();

    void resetPose();
    void applyKeyAction(int code);

    // The pose file's results (PoseFileResult, face/PoseFile.h).
    int writePoseFile(const char* path) const;
    int readPoseFile(const char* path);

    // The pose as it was at the last reset; key action 10 restores from it.
    float resetCopy[PoseCount];
    float pose[PoseCount];
    // -1 none, 0/1 the eyes, 2..5 a lid, 6..10 a mouth point.
    int selection = -1;

  private:
    void step(int index, double delta, double low, float lowValue, double high, float highValue);
};
