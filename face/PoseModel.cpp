#include "face/PoseModel.h"

#include "face/FaceGeometry.h"
#include "face/PoseFile.h"

#include <cstring>
#include <utility>

namespace {

const float defaultPose[PoseCount] = {0, 0, 0, 0.5f, 30, -30, 30, -30, 0, 0, 0, 0, 0};

} // namespace

int mirrorIndex(int index) {
    if (index >= PoseLidFirst && index < PoseMouthFirst) return index ^ 2;
    if (index >= PoseMouthFirst && index < PoseCount) return 2 * PoseMouthFirst + 4 - index;
    return index;
}

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
    int index = selectedIndex();
    if (index < 0) return;
    bool lid = index < PoseMouthFirst;
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
    // Also when the part kept its value (at a limit, already reset): the
    // partner may differ.
    shareWithPartner(index);
}

int PoseModel::selectedIndex() const {
    return selection >= HandleLidFirst && selection < HandleCount ? selection + 2 : -1;
}

void PoseModel::shareWithPartner(int index) {
    if (symmetric) pose[mirrorIndex(index)] = pose[index];
}

void PoseModel::setSelectedValue(float value) {
    int index = selectedIndex();
    if (index < 0) return;
    pose[index] = value;
    shareWithPartner(index);
}

void PoseModel::mirrorPose() {
    for (int i = PoseLidFirst; i < PoseCount; ++i)
        if (mirrorIndex(i) > i) std::swap(pose[i], pose[mirrorIndex(i)]);
    // 0 - v, not -v: an unturned eye stays 0, never "-0" in a saved pose.
    pose[PoseEyeY] = 0.0f - pose[PoseEyeY];
    pose[PoseEyeZ] = 0.0f - pose[PoseEyeZ];
    // The selection follows its part; a part's handle index is its pose
    // index less two, and the eyes stay selected as they are.
    selection = mirrorIndex(selection + 2) - 2;
}

PoseState PoseModel::state() const {
    PoseState state;
    std::memcpy(state.pose, pose, sizeof pose);
    state.selection = selection;
    return state;
}

void PoseModel::setState(const PoseState& state) {
    std::memcpy(pose, state.pose, sizeof pose);
    selection = state.selection;
}

int PoseModel::writePoseFile(const char* path) const {
    return ::writePoseFile(pose, path);
}

int PoseModel::readPoseFile(const char* path) {
    return ::readPoseFile(pose, path);
}
