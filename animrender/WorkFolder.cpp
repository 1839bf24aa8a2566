#include "animrender/WorkFolder.h"

#include "animrender/FramePlan.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
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
// Held by every run from before it tries the lock until the holder has
// written its name: a run that finds the folder in use always reads who
// holds it.
constexpr long long namingByte = lockedByte + 1;

// Paths are UTF-8 throughout, as the editor's are.
fs::path pathOf(const std::string& text) {
    return fs::u8path(text);
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

bool isFarms(const std::string& owner) {
    return owner.compare(0, std::string(farmMark).size(), farmMark) == 0;
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

OVERLAPPED at(long long byte) {
    OVERLAPPED at = {};
    at.Offset = DWORD(byte);
    at.OffsetHigh = DWORD(byte >> 32);
    return at;
}

} // namespace

bool WorkFolder::open(std::error_code& code) {
    std::wstring name = (pathOf(path_) / ownerFile).wstring();
    file_ = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ != INVALID_HANDLE_VALUE) return true;
    code = std::error_code(int(GetLastError()), std::system_category());
    file_ = nullptr;
    return false;
}

bool WorkFolder::lockByte(long long byte, bool wait) {
    OVERLAPPED range = at(byte);
    return LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY), 0, 1,
                      0, &range);
}

void WorkFolder::unlockByte(long long byte) {
    OVERLAPPED range = at(byte);
    UnlockFileEx(file_, 0, 1, 0, &range);
}

bool WorkFolder::stillNamed() const {
    return true;
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

bool WorkFolder::open(std::error_code& code) {
    std::string name = (pathOf(path_) / ownerFile).string();
    file_ = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (file_ >= 0) return true;
    code = std::error_code(errno, std::generic_category());
    return false;
}

// Record locks, as Wine's own file locks are: the editor sees them too.
bool WorkFolder::lockByte(long long byte, bool wait) {
    struct flock range = {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_start = off_t(byte);
    range.l_len = 1;
    return fcntl(file_, wait ? F_SETLKW : F_SETLK, &range) == 0;
}

void WorkFolder::unlockByte(long long byte) {
    struct flock range = {};
    range.l_type = F_UNLCK;
    range.l_whence = SEEK_SET;
    range.l_start = off_t(byte);
    range.l_len = 1;
    fcntl(file_, F_SETLK, &range);
}

// False when the run that held it just before removed it.
bool WorkFolder::stillNamed() const {
    struct stat held = {}, named = {};
    return fstat(file_, &held) == 0 &&
           stat((pathOf(path_) / ownerFile).string().c_str(), &named) == 0 &&
           held.st_ino == named.st_ino && held.st_dev == named.st_dev;
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

WorkFolder::Lock WorkFolder::lock(const std::string& owner, std::string& held,
                                  std::error_code& code) {
    if (!open(code)) return Failed;
    if (!lockByte(namingByte, true)) {
        code = std::make_error_code(std::errc::no_lock_available);
        return Failed;
    }
    Lock got = !lockByte(lockedByte, false) ? Busy : stillNamed() ? Locked : Moved;
    held = ownerText();
    if (got == Locked && !isFarms(held)) setOwnerText(owner);
    unlockByte(namingByte);
    return got;
}

bool WorkFolder::take(const std::string& outDir, const std::string& stem, const std::string& owner,
                      std::string& error, std::string& notice) {
    remove();
    fs::path folder = pathOf(outDir) / pathOf(workFolderName(stem));
    std::error_code code;
    Lock got = Moved;
    std::string held;
    for (int attempt = 0; attempt < 3 && got == Moved; ++attempt) {
        unlock();
        fs::create_directories(folder, code);
        path_ = folder.u8string();
        got = code ? Failed : lock("process " + processId() + " (" + owner + ")", held, code);
    }
    if (got == Busy || isFarms(held)) {
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
        return true;
    }
    unlock();
    path_.clear();
    return false;
}

bool WorkFolder::handOverToFarm(const std::string& owner) {
    if (path_.empty()) return false;
    lockByte(namingByte, true);
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
