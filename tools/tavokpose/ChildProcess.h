// A program run beside this one that the caller polls and may end at any
// time, with everything it started: a Unix child runs in a process group of
// its own, which a guard between the two kills should this program die
// first, however it dies; on Windows, and under Wine, it runs as the
// editor's children do (ChildProgram). Also the user's Ctrl+C (and, on
// Unix, SIGTERM, SIGHUP and SIGPIPE), caught so that the caller can end its
// children first.
#pragma once

#include <string>
#include <vector>

#ifdef _WIN32
#include "render/ChildProgram.h"
#endif

class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess() { end(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `args` (args[0] looked up on the PATH) in `workDir`, its output
    // and errors to the file `logName` there; false when it cannot start.
    bool start(const std::vector<std::string>& args, const std::string& workDir,
               const std::string& logName);
    // Whether it still runs; once it ended, `exitCode` tells how.
    bool running();
    // Kills it and all it started, and waits for it to go.
    void end();

    int exitCode = -1; // 127 when the program could not start; its log says why

  private:
#ifdef _WIN32
    ChildProgram child_;
#else
    int pid_ = 0;
#endif
};

// From now on Ctrl+C, SIGTERM, SIGHUP and SIGPIPE only set the flag
// interrupted() reads.
void catchInterrupts();
bool interrupted();
