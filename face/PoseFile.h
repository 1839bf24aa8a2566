// The pose text file: eight lines of POV-Ray values holding the thirteen pose
// values. Needs no platform.
#pragma once

#include <cstdio>
#include <string>

constexpr int PoseFileLines = 8;

// Results of reading and writing.
enum PoseFileResult { PoseFileOk = 0, PoseFileNoAccess = 1, PoseFileDataError = 2 };

// Why a read did not give PoseFileOk.
enum PoseFault { FaultNone, FaultUnreadable, FaultMissingLine, FaultLineTooLong, FaultMismatch };

struct PoseReadError {
    PoseFault fault = FaultNone;
    int line = 0;          // 1 to 8; 0 when the file itself could not be read
    int converted = 0;     // values of the line read before the mismatch
    const char* form = ""; // the line as the writer forms it ("%g,%g,")
};

// 0 when all eight lines were read, 1 if the file cannot be read, 2 if a line
// is missing, too long or does not match. Values read before a failure stay.
int readPoseFile(float* pose, const char* path, PoseReadError* error = nullptr);
int readPose(float* pose, std::FILE* in, PoseReadError* error = nullptr);
// The same, from the file's bytes read before.
int readPoseText(float* pose, const std::string& text, PoseReadError* error = nullptr);

// What is wrong, in words: "line longer than 199 characters"; empty for
// FaultNone. The line number is the caller's to show.
std::string describePoseFault(const PoseReadError& error);

// 0 after a complete write, 1 if the file could not be written; an existing
// file is replaced only by a completely written one.
int writePoseFile(const float* pose, const char* path);
// The file's exact bytes, written to an open binary stream; false on any
// write error.
bool writePose(const float* pose, std::FILE* out);

// Line `line` (1 to 8) of the file for `pose`, without its line end, into
// `out`; its length, or -1 if `size` is too small. `exact`: as formatPoseLine.
int formatPoseFileLine(char* out, std::size_t size, int line, const float* pose,
                       bool exact = false);
