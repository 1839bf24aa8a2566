// A POV-Ray include that moves a pose from A to B as the scene's clock runs
// from 0 to 1, written in the form of a pose file so that it stands where a
// pose file's include would.
#pragma once

#include "face/PoseModel.h"

#include <string>

// Each value reads A*(1-clock)+B*clock, so clock 0 gives A and clock 1 gives
// B exactly; a value equal in both poses is written once.
std::string poseBlend(const float (&a)[PoseCount], const float (&b)[PoseCount],
                      const std::string& nameA, const std::string& nameB);
