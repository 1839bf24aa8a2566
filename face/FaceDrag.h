// Moving the selected part with the pointer while the left button is held,
// by the pointer's movement from the press: a lid edge or a mouth point as
// many rows, the eyes one degree per pixel (to the right about y, downwards
// about x), each within the keyboard's limits. Needs no platform.
#pragma once

#include "face/PoseModel.h"

class FaceDrag {
  public:
    // A press at (x, y); `before` is the pose and selection before it.
    void begin(const PoseState& before, int x, int y);
    // The pointer at (x, y) over a face centred at (centerX, centerY): moves
    // the model's selected part (and its partner with symmetric editing);
    // true when the pose changed.
    bool moveTo(PoseModel& model, int x, int y, float centerX, float centerY) const;

    bool active = false;
    PoseState before = {};

  private:
    int startX = 0;
    int startY = 0;
};
