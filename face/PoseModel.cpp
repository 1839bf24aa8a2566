#include "face/PoseModel.h"

#include "face/PoseFile.h"

#include <cstring>

namespace {

const float defaultPose[PoseCount] = {0, 0, 0, 0.5f, 30, -30, 30, -30, 0, 0, 0, 0, 0};

} // namespace

PoseModel::PoseModel() {
    resetPose();
}

void PoseModel::resetPose() {
    std::memcpy(pose, defaultPose, sizeof pose);
    std::memcpy(resetCopy, pose, sizeof resetCopy);
}

void PoseModel::step(int index, double delta, double low, float lowValue, double high,
                     float highValue) {
    pose[index] = float(double(pose[index]) + delta);
    if (pose[index] > high) pose[index] = highValue;
    if (pose[index] < low) pose[index] = lowValue;
}

void PoseModel::applyKeyAction(int code) {
    if (selection < 2) {
        switch (code) {
        case KeyEyeXUp: step(PoseEyeX, 1, -90, -90, 90, 90); break;
        case KeyEyeXDown: step(PoseEyeX, -1, -90, -90, 90, 90); break;
        case KeyRaise: step(PoseEyeY, 1, -90, -90, 90, 90); break;
        case KeyLower: step(PoseEyeY, -1, -90, -90, 90, 90); break;
        // The z rotation wraps to 0 past a full turn either way.
        case KeyEyeZUp: step(PoseEyeZ, 1, -360, 0, 360, 0); break;
        case KeyEyeZDown: step(PoseEyeZ, -1, -360, 0, 360, 0); break;
        // A pupil smaller than one step closes completely.
        case KeyPupilGrow: step(PosePupil, 0.05, 0.05, 0, 1, 1); break;
        case KeyPupilShrink: step(PosePupil, -0.05, 0.05, 0, 1, 1); break;
        case KeyZeroEyeX: pose[PoseEyeX] = 0; break;
        case KeyRestore: pose[PoseEyeY] = 0; break;
        case KeyZeroEyeZ: pose[PoseEyeZ] = 0; break;
        default: break;
        }
        return;
    }
    if (selection > 10) return;
    int index = selection + 2;
    bool lid = selection <= 5;
    // "8" moves a lid edge or a mouth point up on the screen: a lid angle
    // grows downwards, a mouth value upwards.
    switch (code) {
    case KeyRaise:
        if (lid)
            step(index, -1, -90, -90, 90, 90);
        else
            step(index, 0.05, -1, -1, 1, 1);
        break;
    case KeyLower:
        if (lid)
            step(index, 1, -90, -90, 90, 90);
        else
            step(index, -0.05, -1, -1, 1, 1);
        break;
    case KeyRestore: pose[index] = resetCopy[index]; break;
    default: break;
    }
}

int PoseModel::writePoseFile(const char* path) const {
    return ::writePoseFile(pose, path);
}

int PoseModel::readPoseFile(const char* path) {
    return ::readPoseFile(pose, path);
}
