// The animation file (*.tfa): plain text with CR LF line ends, the settings
// then one line per key with its frame and the thirteen values in the pose
// file's form, each the shortest text that reads back as the same value:
//
//   TavokFace animation
//   frames per second: 25
//   length in frames: 100
//   interpolation: smooth
//   key 0: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0
//
// Read strictly: no space, NUL byte or leading zero the writer would not
// write; a byte 26 ends the file, as in the pose file. Needs no platform.
// Results are those of the pose file (face/PoseFile.h).
#pragma once

#include "animation/Animation.h"

#include <cstdio>
#include <functional>
#include <string>

struct AnimationReadError {
    int line = 0; // 0 when the file itself could not be read
    std::string what;
};

// Reads a whole animation into `animation`, which changes only when every
// line is right; otherwise `error` names the first line that is not.
int readAnimation(Animation& animation, std::FILE* in, AnimationReadError* error = nullptr);
int readAnimationFile(Animation& animation, const char* path, AnimationReadError* error = nullptr);

// The file's exact bytes to an open binary stream; false on any write error.
bool writeAnimation(const Animation& animation, std::FILE* out);
// An existing file is replaced only by a completely written one.
int writeAnimationFile(const Animation& animation, const char* path);

// Replaces `path` with what `write` puts into a new file beside it, only
// when all of it reached the disk: PoseFileOk, or PoseFileNoAccess with the
// old file untouched.
int replaceWithWritten(const char* path, const std::function<bool(std::FILE*)>& write);
