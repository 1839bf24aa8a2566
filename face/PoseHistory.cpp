#include "face/PoseHistory.h"

#include <cstring>

bool PoseHistory::record(const PoseState& before, const PoseModel& now) {
    if (std::memcmp(before.pose, now.pose, sizeof before.pose) == 0) return false;
    undoSteps.push_back(before);
    if (undoSteps.size() > limit) undoSteps.pop_front();
    redoSteps.clear();
    return true;
}

bool PoseHistory::move(std::deque<PoseState>& from, std::deque<PoseState>& to, PoseModel& model) {
    if (from.empty()) return false;
    to.push_back(model.state());
    model.setState(from.back());
    from.pop_back();
    return true;
}

bool PoseHistory::undo(PoseModel& model) {
    return move(undoSteps, redoSteps, model);
}

bool PoseHistory::redo(PoseModel& model) {
    return move(redoSteps, undoSteps, model);
}
