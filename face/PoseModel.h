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

// What undo brings back: the pose and the selected part.
struct PoseState {
    float pose[PoseCount];
    int selection;
};

// The pose index in the other half of the face: a lid's in the other eye, a
// mouth point's counted from the other end; the eyes and the middle mouth
// point are their own.
int mirrorIndex(int index);

class PoseModel {
  public:
    PoseModel();

    void resetPose();
    // With symmetric editing on, a key on a lid or a mouth point gives its
    // mirror partner the part's value.
    void applyKeyAction(int code);
    // Sets the selected lid or mouth point (and its partner, as a key would).
    void setSelectedValue(float value);
    // The left-right mirror image: the eyes' lids and the mouth points trade
    // places, the turns about y and z change sign, and the selection moves
    // to the partner of the selected part.
    void mirrorPose();

    PoseState state() const;
    void setState(const PoseState& state);

    // The pose file's results (PoseFileResult, face/PoseFile.h).
    int writePoseFile(const char* path) const;
    int readPoseFile(const char* path);

    // The pose as it was at the last reset; key action 10 restores from it.
    float resetCopy[PoseCount];
    float pose[PoseCount];
    // -1 none, 0/1 the eyes, 2..5 a lid, 6..10 a mouth point.
    int selection = -1;
    bool symmetric = false;

  private:
    // The pose index the selection edits, or -1 for the eyes and none.
    int selectedIndex() const;
    void shareWithPartner(int index);
    void step(int index, double delta, double low, float lowValue, double high, float highValue);
};
