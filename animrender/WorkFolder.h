// The hidden work folder of one animation's render inside the output
// folder, held by one run at a time: a lock on its owner file, released by
// the system however the run ends, tells a second run (this tool's, or the
// editor's) that the folder is in use, and a folder left by a run that no
// longer exists apart from one in use. A farm's folder outlives the run that
// wrote it: its owner file says so, and it is never taken over.
#pragma once

#include <string>
#include <system_error>

class WorkFolder {
  public:
    WorkFolder() = default;
    // Removes the folder unless handed over.
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    // Makes and locks workFolderName(stem) in `outDir`, as `owner` ("tavokpose
    // animate"); what an earlier run left there is removed, and `notice` says
    // so. False, and `error` names who holds it, when it is in use.
    bool take(const std::string& outDir, const std::string& stem, const std::string& owner,
              std::string& error, std::string& notice);
    const std::string& path() const { return path_; }
    // Leaves the folder to the farm's jobs, marked as theirs, and unlocks it.
    bool handOverToFarm(const std::string& owner);
    // Removes the folder and unlocks it.
    void remove();

  private:
    enum Lock { Locked, Busy, Moved, Failed };
    // Locks the owner file, as `owner` unless the farm's; `held` is the
    // owner text found there.
    Lock lock(const std::string& owner, std::string& held, std::error_code& code);
    bool open(std::error_code& code);
    bool lockByte(long long byte, bool wait);
    void unlockByte(long long byte);
    bool stillNamed() const;
    void unlock();
    std::string ownerText() const;
    void setOwnerText(const std::string& text);

    std::string path_;
#ifdef _WIN32
    void* file_ = nullptr;
#else
    int file_ = -1;
#endif
};
