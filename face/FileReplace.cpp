#include "face/FileReplace.h"

#include <cerrno>
#include <fcntl.h>

#ifdef _WIN32
#include "framework/app/WideText.h"

#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#ifndef O_BINARY
#define O_BINARY 0
#endif

std::FILE* openFile(const char* path, const char* mode) {
#ifdef _WIN32
    return _wfopen(wideText(path).c_str(), wideText(mode).c_str());
#else
    return std::fopen(path, mode);
#endif
}

bool removeFile(const char* path) {
#ifdef _WIN32
    return _wremove(wideText(path).c_str()) == 0;
#else
    return std::remove(path) == 0;
#endif
}

namespace {

int openNew(const std::string& path) {
#ifdef _WIN32
    return _wopen(wideText(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_BINARY, 0666);
#else
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_BINARY, 0666);
#endif
}

} // namespace

std::FILE* createBeside(const std::string& path, std::string& tmp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tmp = path + ".~" + std::to_string(attempt);
        int fd = openNew(tmp);
        if (fd >= 0) {
            std::FILE* f = fdopen(fd, "wb");
            if (!f) {
                close(fd);
                removeFile(tmp.c_str());
            }
            return f;
        }
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}

bool flushToDisk(std::FILE* f) {
    if (std::fflush(f) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

bool replaceFile(const char* from, const char* to) {
#ifdef _WIN32
    return MoveFileExW(wideText(from).c_str(), wideText(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from, to) == 0;
#endif
}
