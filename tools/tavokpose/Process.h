// The platform side of the companion tool: starting a program and finding
// the tool's own file.
#pragma once

#include <string>
#include <vector>

struct ProcessResult {
    bool started = false; // false when the program could not be found or run
    int exitCode = -1;    // -1 when it did not end by itself within the deadline
};

// Runs `args` (args[0] is looked up on the PATH) in the folder `workDir` with
// its output and errors going to the file `logName` there, and waits for its
// end, `seconds` at most; then it is killed. Under Wine a program that is
// not a Windows one (Debian's POV-Ray) runs through the Unix shell.
ProcessResult runProcess(const std::vector<std::string>& args, const std::string& workDir,
                         const std::string& logName, int seconds);

#ifndef _WIN32
// The full path of the running program, or "" if it cannot be told (on
// Windows, programFolder() gives its folder in UTF-8).
std::string programPath();
#endif
