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

bool put(std::FILE* out, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), out) == text.size();
}

} // namespace

bool writeAnimationInclude(const Animation& animation, const float* still, std::FILE* out) {
    int length = animation.settings().length;
    std::string last = std::to_string(length - 1);
    bool ok = put(out, "// TavokFace animation: " + std::to_string(length) + " frames at " +
                           std::to_string(animation.settings().fps) +
                           " frames per second, the pose of frame_number.\r\n") &&
              put(out, "#declare TavokFrame = min(max(frame_number, 0), " + last + ");\r\n") &&
              put(out, "#declare TavokPoses = array[" + std::to_string(length) + "][13] {\r\n");
    float pose[PoseCount];
    std::memcpy(pose, still, sizeof pose);
    for (int frame = 0; frame < length && ok; ++frame) {
        animation.poseAt(frame, pose);
        char row[512];
        ok = formatPoseLine(row, sizeof row, rowForm, pose, true) >= 0 &&
             put(out, row + std::string(frame + 1 < length ? ",\r\n" : "\r\n"));
    }
    return ok && put(out, "};\r\n") && put(out, poseLines) && std::ferror(out) == 0;
}

int writeAnimationIncludeFile(const Animation& animation, const float* still, const char* path) {
    return replaceWithWritten(
        path, [&](std::FILE* out) { return writeAnimationInclude(animation, still, out); });
}
