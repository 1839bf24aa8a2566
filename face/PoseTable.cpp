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

bool put(std::FILE* out, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), out) == text.size();
}

} // namespace

bool writePoseTable(const float* poses, int count, std::FILE* out) {
    std::string last = std::to_string(count - 1);
    bool ok = put(out, "#declare TavokFrame = min(max(frame_number, 0), " + last + ");\r\n") &&
              put(out, "#declare TavokPoses = array[" + std::to_string(count) + "][13] {\r\n");
    for (int row = 0; row < count && ok; ++row) {
        char text[512];
        ok = formatPoseLine(text, sizeof text, rowForm, poses + row * PoseCount, true) >= 0 &&
             put(out, text + std::string(row + 1 < count ? ",\r\n" : "\r\n"));
    }
    return ok && put(out, "};\r\n") && put(out, poseLines) && std::ferror(out) == 0;
}
