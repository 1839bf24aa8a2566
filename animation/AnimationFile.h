// The animation file (*.tfa): plain text with CR LF line ends, the settings,
// the sound if there is one (its start frame and its path, relative to the
// animation file), then one line per key per track, each track's keys in
// rising frame order, its values in the form of their pose file lines, each
// the shortest text that reads back as the same value:
//
//   TavokFace animation
//   frames per second: 25
//   length in frames: 100
//   interpolation: smooth
//   sound 0: voice.wav
//   eyes 0: <0,0,0>,0.5
//   lids 0: 30,-30, 30,-30
//   mouth 0: 0, 0, 0, 0, 0
//   mouth 12: 0, 0.2, 0.4, 0.2, 0
//
// The older files' "key 0: <0,0,0>,0.5, 30,-30, 30,-30, 0, 0, 0, 0, 0"
// keys every track; a file holds those or track lines. Read strictly: no
// space, NUL byte or leading zero the writer would not write; a byte 26 ends
// the file, as in the pose file. Needs no platform. Results are those of the
// pose file (face/PoseFile.h).
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
// An existing file is replaced only by a completely written one. The files
// hold the sound's path relative to their own folder; read, it is the path
// from here.
int writeAnimationFile(const Animation& animation, const char* path);

// The sound's path as the animation file at `file` holds it, and back.
std::string soundPathFor(const std::string& sound, const char* file);
// Why the file at `file` cannot hold the animation's sound line (a control
// character, a path longer than a line), or "" when it can.
std::string soundLineProblem(const Animation& animation, const char* file);
std::string soundPathFrom(const std::string& written, const char* file);

// Replaces `path` with what `write` puts into a new file beside it, only
// when all of it reached the disk: PoseFileOk, or PoseFileNoAccess with the
// old file untouched.
int replaceWithWritten(const char* path, const std::function<bool(std::FILE*)>& write);
