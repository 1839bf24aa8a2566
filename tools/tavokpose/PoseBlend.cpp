#include "tools/tavokpose/PoseBlend.h"

#include "face/PoseText.h"

namespace {

std::string number(float value) {
    char text[64];
    formatPoseLine(text, sizeof text, "%g", &value);
    return text;
}

std::string blended(float a, float b) {
    // Written as the pose file writes it, the value reads back as the same
    // double POV-Ray would take from the pose file itself.
    if (number(a) == number(b)) return number(a);
    std::string bText = number(b);
    if (b < 0) bText = "(" + bText + ")";
    return number(a) + "*(1-clock)+" + bText + "*clock";
}

// Comments end at the line end: keep the names on their line.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

} // namespace

std::string poseBlend(const float (&a)[PoseCount], const float (&b)[PoseCount],
                      const std::string& nameA, const std::string& nameB) {
    std::string v[PoseCount];
    for (int i = 0; i < PoseCount; ++i)
        v[i] = blended(a[i], b[i]);
    return "// From " + oneLine(nameA) + " at clock 0 to " + oneLine(nameB) + " at clock 1.\r\n" +
           "<" + v[0] + "," + v[1] + "," + v[2] + ">," + v[3] + ",\r\n" + v[4] + "," + v[5] +
           ",\r\n" + v[6] + "," + v[7] + ",\r\n" + v[8] + ",\r\n" + v[9] + ",\r\n" + v[10] +
           ",\r\n" + v[11] + ",\r\n" + v[12] + "\r\n";
}
