#include "animation/AnimationExport.h"

#include "animation/AnimationFile.h"
#include "face/PoseText.h"

#include <cstring>
#include <string>

namespace {

const char* const rowForm = "{%g,%g,%g,%g,%g,%g,%g,%g,%g,%g,%g,%g,%g}";

// The pose file's lines with each value taken from the frame's row.
const char* const poseLines =
    "<TavokPoses[TavokFrame][0],TavokPoses[TavokFrame][1],TavokPoses[TavokFrame][2]>,"
    "TavokPoses[TavokFrame][3],\r\n"
    "TavokPoses[TavokFrame][4],TavokPoses[TavokFrame][5],\r\n"
    "TavokPoses[TavokFrame][6],TavokPoses[TavokFrame][7],\r\n"
    "TavokPoses[TavokFrame][8],\r\n"
    "TavokPoses[TavokFrame][9],\r\n"
    "TavokPoses[TavokFrame][10],\r\n"
    "TavokPoses[TavokFrame][11],\r\n"
    "TavokPoses[TavokFrame][12]\r\n";

} // namespace

std::string animationInclude(const Animation& animation, const float* still) {
    int length = animation.settings().length;
    std::string last = std::to_string(length - 1);
    std::string text = "// TavokFace animation: " + std::to_string(length) + " frames at " +
                       std::to_string(animation.settings().fps) +
                       " frames per second, the pose of frame_number.\r\n" +
                       "#declare TavokFrame = min(max(frame_number, 0), " + last + ");\r\n" +
                       "#declare TavokPoses = array[" + std::to_string(length) + "][13] {\r\n";
    float pose[PoseCount];
    std::memcpy(pose, still, sizeof pose);
    for (int frame = 0; frame < length; ++frame) {
        animation.poseAt(frame, pose);
        char row[512];
        if (formatPoseLine(row, sizeof row, rowForm, pose, true) < 0) return "";
        text += row + std::string(frame + 1 < length ? ",\r\n" : "\r\n");
    }
    return text + "};\r\n" + poseLines;
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
