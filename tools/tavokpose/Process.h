// The platform side of the companion tool: starting a program and finding
// the tool's own file.
#pragma once

#include <string>
#include <vector>

struct ProcessResult {
    bool started = false; // false when the program could not be found or run
    int exitCode = -1;
};

// Runs `args` (args[0] is looked up on the PATH) in the folder `workDir` with
// its output and errors going to the file `logPath`, and waits for it.
ProcessResult runProcess(const std::vector<std::string>& args, const std::string& workDir,
                         const std::string& logPath);

// The full path of the running program, or "" if it cannot be told.
std::string programPath();
