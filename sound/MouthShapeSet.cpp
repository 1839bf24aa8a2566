#include "sound/MouthShapeSet.h"

#include "face/PoseFile.h"
#include "face/PoseModel.h"

#include <algorithm>

bool MouthShapeSet::load(const std::string& folder) {
    float read[MouthShapeCount][MouthValues];
    for (int shape = 0; shape < MouthShapeCount; ++shape) {
        std::string path = folder + "/" + mouthShapeName(MouthShape(shape)) + ".txt";
        float pose[PoseCount];
        PoseReadError fault;
        if (readPoseFile(pose, path.c_str(), &fault) != PoseFileOk) {
            error_ = path + (fault.line > 0 ? ":" + std::to_string(fault.line) : "") + ": " +
                     describePoseFault(fault);
            return false;
        }
        std::copy(pose + PoseMouthFirst, pose + PoseMouthFirst + MouthValues, read[shape]);
    }
    std::copy(&read[0][0], &read[0][0] + MouthShapeCount * MouthValues, &mouths_[0][0]);
    error_.clear();
    return true;
}
