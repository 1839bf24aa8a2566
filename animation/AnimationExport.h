// The animation as a POV-Ray include: a table of every frame's pose,
// computed here so that POV-Ray draws exactly the poses the editor shows,
// then the pose file's eight lines selecting the row of `frame_number`. The
// sample scene takes it as "animation.inc" with Declare=Animation=1.
// Needs no platform.
#pragma once

#include "animation/Animation.h"

#include <cstdio>
#include <string>

// `still` is every frame's pose when there are no keys; "" when a pose
// cannot be written.
std::string animationInclude(const Animation& animation, const float* still);
// The same into `out`. False on a write error.
bool writeAnimationInclude(const Animation& animation, const float* still, std::FILE* out);
// An existing file is replaced only by a completely written one; the pose
// file's results.
int writeAnimationIncludeFile(const Animation& animation, const float* still, const char* path);
