// A program run beside a Windows program, which polls it and may end it at
// any time. A Windows program sits in a job that ends it when this program
// ends, however it ends; a Unix program under Wine (Debian's POV-Ray or
// ffmpeg), which Wine starts with no handle, runs through the Unix shell
// (ShellChild) in a group that is killed once this program stops polling.
// Windows only.
#pragma once

#include "render/ShellChild.h"

#include <memory>
#include <string>
#include <vector>

class ChildProgram {
  public:
    // Starts `args` (args[0] a program's path, or a Unix program's name
    // under Wine) in `folder` (UTF-8), its output in the file `logName`
    // there; below this program's priority when `nice`. A window
    // it opens (POV-Ray for Windows) shows minimised and never takes the
    // keyboard. Starting again forgets the last one, which must have ended.
    // False when it cannot start.
    bool start(const std::vector<std::string>& args, const std::string& folder,
               const std::string& logName, bool nice);
    // Whether it has ended (or never started); `exitCode` then says how.
    // Under Wine each call tells the shell's watcher that this program runs.
    bool ended();
    // Kills it, and all it started, unless it has ended; does not wait.
    void kill();
    // The same for every one of `programs`, all run in one folder, at once.
    static void kill(const std::vector<ChildProgram*>& programs);
    // Waits until it has ended, `seconds` at most; whether it has.
    bool waitEnded(double seconds);

    int exitCode = -1;

  private:
    bool startWindows(const std::vector<std::string>& args, const std::string& folder,
                      const std::string& logName, bool nice);

    struct HandleCloser {
        void operator()(void* handle) const;
    };
    std::unique_ptr<void, HandleCloser> process_;
    bool throughShell_ = false;
    ShellChild shell_;
};
