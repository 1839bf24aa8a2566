// A Unix program started by a Windows program under Wine. Wine finds no
// program on the Unix PATH and gives no handle for a Unix child, so the
// Unix shell runs it (unixRunScript) in a process group of its own and
// writes the group's id and, at the end, the exit status into files of the
// child's folder: all there is to know of it. Shared by every Windows
// program that starts Debian's POV-Ray or ffmpeg. Windows only.
#pragma once

#include <string>
#include <vector>

class ShellChild {
  public:
    // Runs `args` (args[0] a Unix program, by name or by its path on drive
    // Z:) in `folder` (UTF-8), below this program's priority when `nice`,
    // with its output in the file `logName` there; the shell's files are
    // named after `name`. False when the shell cannot start.
    bool start(std::vector<std::string> args, const std::string& folder, const std::string& name,
               const std::string& logName, bool nice = false);
    // Whether it has ended; `exitCode` then says how. The calls also tell
    // the shell that this program still runs, once a second at most (a
    // window's timer calls it for every child each tick): should it end
    // however it ends, the group is killed once no call came for
    // StaleSeconds.
    bool ended();
    // Kills its group, once the shell has told the group's id (a second at
    // most), unless it has ended.
    void kill();
    // The same for every one of `children`, all of one folder, with one
    // shell: a start of the shell costs as much as a tenth of a second.
    static void kill(const std::vector<ShellChild*>& children);

    int exitCode = -1;
    static constexpr int StaleSeconds = 10;

  private:
    std::string path(const char* kind) const;

    std::string folder_;
    std::string name_;
    unsigned long long toldAt_ = 0; // GetTickCount64()
};

// Whether `program` (a path) is a Windows program; anything else Wine would
// start with no handle.
bool isWindowsProgram(const std::string& program);
