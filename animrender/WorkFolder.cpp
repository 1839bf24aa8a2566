#include "animrender/WorkFolder.h"

#include "animrender/FramePlan.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

const char* const ownerFile = "owner.txt";
const char* const farmMark = "farm: ";
// The byte every run locks: past any owner text, which stays readable (a
// Windows lock keeps others from reading what it covers).
constexpr long long lockedByte = 1LL << 30;

// Paths are UTF-8 throughout, as the editor's are.
fs::path pathOf(const std::string& text) {
    return fs::u8path(text);
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

} // namespace

WorkFolder::~WorkFolder() {
    remove();
}

#ifdef _WIN32

namespace {

std::string processId() {
    return std::to_string(GetCurrentProcessId());
}

} // namespace

WorkFolder::Lock WorkFolder::lock() {
    std::wstring name = (pathOf(path_) / ownerFile).wstring();
    file_ = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) {
        file_ = nullptr;
        return Failed;
    }
    OVERLAPPED at = {};
    at.Offset = DWORD(lockedByte);
    at.OffsetHigh = DWORD(lockedByte >> 32);
    return LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)
               ? Locked
               : Busy;
}

std::string WorkFolder::ownerText() const {
    char text[256];
    DWORD got = 0;
    OVERLAPPED at = {};
    if (!file_ || !ReadFile(file_, text, sizeof text, &got, &at)) got = 0;
    return firstLine(std::string(text, got));
}

void WorkFolder::setOwnerText(const std::string& text) {
    SetFilePointer(file_, 0, nullptr, FILE_BEGIN);
    SetEndOfFile(file_);
    DWORD put = 0;
    WriteFile(file_, text.data(), DWORD(text.size()), &put, nullptr);
}

void WorkFolder::unlock() {
    if (file_) CloseHandle(file_);
    file_ = nullptr;
}

#else

namespace {

std::string processId() {
    return std::to_string(getpid());
}

} // namespace

WorkFolder::Lock WorkFolder::lock() {
    std::string name = (pathOf(path_) / ownerFile).string();
    file_ = open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (file_ < 0) return Failed;
    // A record lock, as Wine's own file locks are: the editor sees it too.
    struct flock range = {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_start = off_t(lockedByte);
    range.l_len = 1;
    if (fcntl(file_, F_SETLK, &range) != 0) return Busy;
    // Removed by the run that held it just before: start again.
    struct stat held = {}, named = {};
    return fstat(file_, &held) == 0 && stat(name.c_str(), &named) == 0 &&
                   held.st_ino == named.st_ino && held.st_dev == named.st_dev
               ? Locked
               : Moved;
}

std::string WorkFolder::ownerText() const {
    char text[256];
    ssize_t got = file_ >= 0 ? pread(file_, text, sizeof text, 0) : 0;
    return firstLine(std::string(text, got > 0 ? std::size_t(got) : 0));
}

void WorkFolder::setOwnerText(const std::string& text) {
    if (ftruncate(file_, 0) == 0 && pwrite(file_, text.data(), text.size(), 0) < 0) return;
}

void WorkFolder::unlock() {
    if (file_ >= 0) close(file_);
    file_ = -1;
}

#endif

bool WorkFolder::take(const std::string& outDir, const std::string& stem, const std::string& owner,
                      std::string& error, std::string& notice) {
    remove();
    fs::path folder = pathOf(outDir) / pathOf(workFolderName(stem));
    std::error_code code;
    Lock got = Moved;
    for (int attempt = 0; attempt < 3 && got == Moved; ++attempt) {
        unlock();
        fs::create_directories(folder, code);
        path_ = folder.u8string();
        got = code ? Failed : lock();
    }
    std::string held = got == Failed ? std::string() : ownerText();
    if (got == Busy || held.compare(0, std::string(farmMark).size(), farmMark) == 0) {
        error = path_ + " is in use by " + (held.empty() ? "another run" : held) +
                (got == Busy ? "" : "; remove it once its jobs ended");
    } else if (got != Locked) {
        error = "cannot make " + path_ + (code ? ": " + code.message() : "");
    } else {
        bool left = false;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, code))
            if (entry.path().filename() != ownerFile)
                fs::remove_all(entry.path(), code), left = true;
        if (left)
            notice = "removed what an earlier run" + (held.empty() ? "" : " (" + held + ")") +
                     ", no longer running, left in " + path_;
        setOwnerText("process " + processId() + " (" + owner + ")");
        return true;
    }
    unlock();
    path_.clear();
    return false;
}

bool WorkFolder::handOverToFarm(const std::string& owner) {
    if (path_.empty()) return false;
    setOwnerText(farmMark + owner);
    unlock();
    path_.clear();
    return true;
}

void WorkFolder::remove() {
    std::error_code code;
    // Everything, the owner file too, while locked; the folder once unlocked,
    // since Windows removes an open file only when it is closed.
    if (!path_.empty())
        for (const fs::directory_entry& entry : fs::directory_iterator(pathOf(path_), code))
            fs::remove_all(entry.path(), code);
    unlock();
    if (!path_.empty()) fs::remove(pathOf(path_), code);
    path_.clear();
}
