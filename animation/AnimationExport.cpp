#include "animation/AnimationExport.h"

#include "animation/AnimationFile.h"
#include "face/PoseTable.h"

#include <cstring>
#include <string>
#include <vector>

std::string animationInclude(const Animation& animation, const float* still) {
    int length = animation.settings().length;
    std::vector<float> poses(std::size_t(length) * PoseCount);
    float pose[PoseCount];
    std::memcpy(pose, still, sizeof pose);
    for (int frame = 0; frame < length; ++frame) {
        animation.poseAt(frame, pose);
        std::memcpy(&poses[std::size_t(frame) * PoseCount], pose, sizeof pose);
    }
    std::string table = poseTable(poses.data(), length);
    if (table.empty()) return "";
    return "// TavokFace animation: " + std::to_string(length) + " frames at " +
           std::to_string(animation.settings().fps) +
           " frames per second, the pose of frame_number.\r\n" + table;
}

bool writeAnimationInclude(const Animation& animation, const float* still, std::FILE* out) {
    std::string text = animationInclude(animation, still);
    return !text.empty() && std::fwrite(text.data(), 1, text.size(), out) == text.size() &&
           std::ferror(out) == 0;
}

int writeAnimationIncludeFile(const Animation& animation, const float* still, const char* path) {
    return replaceWithWritten(
        path, [&](std::FILE* out) { return writeAnimationInclude(animation, still, out); });
}
