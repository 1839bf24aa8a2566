#include "face/PoseTable.h"

#include "face/PoseModel.h"
#include "face/PoseText.h"

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

std::string poseTable(const float* poses, int count) {
    std::string text = "#declare TavokFrame = min(max(frame_number, 0), " +
                       std::to_string(count - 1) + ");\r\n#declare TavokPoses = array[" +
                       std::to_string(count) + "][13] {\r\n";
    for (int row = 0; row < count; ++row) {
        char line[512];
        if (formatPoseLine(line, sizeof line, rowForm, poses + row * PoseCount, true) < 0)
            return "";
        text += line + std::string(row + 1 < count ? ",\r\n" : "\r\n");
    }
    return text + "};\r\n" + poseLines;
}

bool writePoseTable(const float* poses, int count, std::FILE* out) {
    std::string text = poseTable(poses, count);
    return !text.empty() && std::fwrite(text.data(), 1, text.size(), out) == text.size() &&
           std::ferror(out) == 0;
}
