// The platform side of the program's files: opened by their UTF-8 names
// (wide ones on Windows, so any name works), and saved safely: a new file
// beside the target, flushed to disk, then put in the target's place in one
// step.
#pragma once

#include <cstdio>
#include <string>

// std::fopen and std::remove for a UTF-8 `path`.
std::FILE* openFile(const char* path, const char* mode);
bool removeFile(const char* path);

// Creates a new file beside `path`, names it in `tmp` and opens it for binary
// writing; null if none can be made.
std::FILE* createBeside(const std::string& path, std::string& tmp);

// Flushes `f` through to the disk; false on any error.
bool flushToDisk(std::FILE* f);

// Replaces `to` with `from` in one step, so `to` is never left half written.
bool replaceFile(const char* from, const char* to);
