// Starting the renders' child processes on Windows: whether Wine runs us,
// one way to start a child with no console, inside a job that ends it with
// this program, and reading the files it writes. Windows only.
#pragma once

#include "framework/app/WideText.h"

#include <string>

// The folder of the running program, ending in a backslash (UTF-8).
std::string programFolder();

// Whether the program runs under Wine rather than on Windows.
bool underWine();

// Starts `command` in `folder` with no console window and its output in
// `log` (a handle, when not INVALID_HANDLE_VALUE), inside `job` (when
// given); a window of its own (`minimised`, POV-Ray for Windows) shows
// minimised and never takes the keyboard; below this program's priority when
// `below`. `process` is null when Wine gives no handle (a Unix program).
bool startChild(const std::string& command, const std::string& folder, void* log, bool minimised,
                void* job, void*& process, bool below = false);

// A job whose processes end when it is closed, as it is when this program
// ends however it ends; null when the system gives none.
void* childJob();

// The first `limit` bytes of the file at `path` (UTF-8), which a child may
// be writing still; "" when there is none.
std::string childFileText(const std::string& path, unsigned long limit = 4096);
