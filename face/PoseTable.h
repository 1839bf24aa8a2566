// Several poses as one POV-Ray include: a table with a row of thirteen
// values per pose, then the pose file's eight lines taking each value from
// the row of frame_number (held within the table), so that one POV-Ray run
// renders every row as a frame. Needs no platform.
#pragma once

#include <cstdio>
#include <string>

// `count` poses of thirteen values each, one after another; empty when a
// value cannot be written.
std::string poseTable(const float* poses, int count);
// The same written to `out`; false on a write error.
bool writePoseTable(const float* poses, int count, std::FILE* out);
