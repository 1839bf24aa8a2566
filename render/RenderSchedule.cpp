#include "render/RenderSchedule.h"

bool RenderSchedule::poseChanged(long long now) {
    ++wanted;
    lastChange = now;
    return running;
}

bool RenderSchedule::shouldStart(long long now) const {
    return !running && shown != wanted && now - lastChange >= pause;
}

void RenderSchedule::started() {
    running = true;
    rendering = wanted;
}

bool RenderSchedule::finished() {
    running = false;
    if (rendering != wanted) return false;
    shown = rendering;
    return true;
}
