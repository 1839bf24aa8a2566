#include "face/FaceDrag.h"

#include "face/FaceGeometry.h"

#include <algorithm>
#include <cstring>

namespace {

// An axis the pointer has not moved along keeps its value, even one beyond
// the limits read from a file.
float turned(float start, int pixels) {
    return pixels ? std::clamp(start + float(pixels), -90.0f, 90.0f) : start;
}

} // namespace

void FaceDrag::begin(const PoseState& state, int x, int y) {
    before = state;
    startX = x;
    startY = y;
    active = true;
}

bool FaceDrag::moveTo(PoseModel& model, int x, int y, float cx, float cy) const {
    PoseState was = model.state();
    if (model.selection == HandleLeftPupil || model.selection == HandleLeftPupil + 1) {
        model.pose[PoseEyeY] = turned(before.pose[PoseEyeY], x - startX);
        model.pose[PoseEyeX] = turned(before.pose[PoseEyeX], startY - y);
    } else if (model.selection >= HandleLidFirst && model.selection < HandleCount) {
        // Back on the press's row the pose is as before the press, partner
        // included; elsewhere the part keeps its offset from the pointer.
        int handle = model.selection;
        if (y == startY)
            std::memcpy(model.pose, before.pose, sizeof model.pose);
        else
            model.setSelectedValue(valueForRow(
                model.pose, handle, FaceGeometry(before.pose, cx, cy).partRow(handle) + y - startY,
                cx, cy));
    }
    return std::memcmp(was.pose, model.pose, sizeof was.pose) != 0;
}
