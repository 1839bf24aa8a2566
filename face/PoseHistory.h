// Undo and redo of pose changes. Each step keeps the pose and selection from
// before it; at most `limit` steps are kept, the oldest going first. Needs no
// platform.
#pragma once

#include "face/PoseModel.h"

#include <cstddef>
#include <deque>

class PoseHistory {
  public:
    explicit PoseHistory(std::size_t limit = 5000) : limit(limit) {}

    // Notes the change from `before` to the model's pose as one step and
    // drops the steps that could be redone. A change that left the pose as
    // it was is no step: true only when one was added.
    bool record(const PoseState& before, const PoseModel& now);
    // Bring back the state before the last step, or after the last undone
    // one; false, with the model untouched, when there is none.
    bool undo(PoseModel& model);
    bool redo(PoseModel& model);
    bool canUndo() const { return !undoSteps.empty(); }
    bool canRedo() const { return !redoSteps.empty(); }

  private:
    static bool move(std::deque<PoseState>& from, std::deque<PoseState>& to, PoseModel& model);

    std::size_t limit;
    std::deque<PoseState> undoSteps;
    std::deque<PoseState> redoSteps;
};
