#include "face/FaceGeometry.h"

#include "face/PoseModel.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.141592653589793;
// The lids use pi cut to 3.1415925 in single precision, a hair below pi.
constexpr float PiFloat = 3.1415925f;
constexpr double Limit = 1000000.0;

} // namespace

int truncateToPixel(double value) {
    if (std::isnan(value) || value > Limit) return int(Limit);
    if (value < -Limit) return -int(Limit);
    return int(value);
}

FaceGeometry::FaceGeometry(const float* pose, float cx, float cy) {
    pupilRadius = 10.0 * pose[PosePupil];
    double a0 = pose[PoseEyeX] * Pi * (1.0 / 180);
    double a1 = pose[PoseEyeY] * Pi * (1.0 / 180);
    double a2 = pose[PoseEyeZ] * Pi * (1.0 / 180);
    // (0, 0, 1) rotated about x by a0, then y by a1, then z by a2.
    double gazeX = std::cos(a2) * std::sin(a1) * std::cos(a0) + std::sin(a2) * std::sin(a0);
    double gazeY = std::sin(a2) * std::sin(a1) * std::cos(a0) - std::cos(a2) * std::sin(a0);
    eyeX = cx + 25 * gazeX;
    eyeY = cy + 25 * gazeY;
    handles[0] = {eyeX - 47, eyeY - 37};
    handles[1] = {eyeX + 53, eyeY - 37};

    // Evaluated in double with pi rounded to single precision, then stored
    // as float: a lid at 30 degrees lies a hair inside 12.5.
    for (int k = 0; k < 4; ++k)
        lid[k] = float(25 * std::sin(double(pose[PoseLidFirst + k]) * PiFloat * (1.0 / 180)));
    // The edge is placed in single precision, as the drawing always has.
    for (int k = 0; k < 4; ++k)
        lidRow[k] = truncateToPixel(cy - 37 + lid[k]);
    // Handle points keep their full double value: in float a lid or mouth
    // point a hair off a pixel boundary would round onto it.
    double x = cx;
    double y = cy;
    // Upper lid handles sit 5 pixels above their lines.
    handles[2] = {x - 10, y - 37 + lid[0]};
    handles[3] = {x - 10, y - 42 + lid[1]};
    handles[4] = {x + 10, y - 37 + lid[2]};
    handles[5] = {x + 10, y - 42 + lid[3]};

    mouthBase = truncateToPixel(cy + 60);
    for (int k = 0; k < 5; ++k)
        handles[HandleMouthFirst + k] = {x - 100 + 50 * k,
                                         mouthBase - 55.0 * pose[PoseMouthFirst + k]};
}

int FaceGeometry::partRow(int handle) const {
    if (handle < HandleMouthFirst) return lidRow[handle - HandleLidFirst];
    return truncateToPixel(handles[handle].y);
}

float valueForRow(const float* pose, int handle, int row, float cx, float cy) {
    bool lid = handle < HandleMouthFirst;
    double limit = lid ? 90 : 1;
    double exact;
    if (lid)
        exact = std::asin(std::clamp((row - (cy - 37.0)) / 25, -1.0, 1.0)) / PiFloat * 180;
    else
        exact = (truncateToPixel(cy + 60) - row) / 55.0;
    float value = float(std::clamp(exact, -limit, limit));
    // Rounding may leave the part a pixel off its row: step to the next float
    // toward it. A larger value draws a lid lower and a mouth point higher.
    float trial[PoseCount];
    std::copy(pose, pose + PoseCount, trial);
    int index = handle + 2;
    for (int i = 0; i < 64; ++i) {
        trial[index] = value;
        int drawn = FaceGeometry(trial, cx, cy).partRow(handle);
        if (drawn == row) break;
        bool larger = (drawn < row) == lid;
        float next = std::nextafter(value, float(larger ? limit : -limit));
        if (next == value) break;
        value = next;
    }
    return value;
}

int nearestHandle(const HandlePoint* handles, int x, int y) {
    double best = 900;
    int result = -1;
    for (int i = 0; i < HandleCount; ++i) {
        long long dx = truncateToPixel(x - handles[i].x);
        long long dy = truncateToPixel(y - handles[i].y);
        double distance = std::sqrt(double(dx * dx + dy * dy));
        if (distance < best) {
            best = distance;
            result = i;
        }
    }
    return result;
}
