#include "tools/tavokpose/Process.h"

#include "tools/tavokpose/ChildProcess.h"

#include <chrono>
#include <thread>

#ifndef _WIN32
#include <unistd.h>
#endif

ProcessResult runProcess(const std::vector<std::string>& args, const std::string& workDir,
                         const std::string& logName, int seconds) {
    // As the renders' children: nothing it starts outlives this program.
    ChildProcess child;
    if (!child.start(args, workDir, logName)) return {};
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (child.running()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            child.end();
            return {true, -1};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // The exec's own answer when it finds no such program.
    return {child.exitCode != 127, child.exitCode};
}

#ifndef _WIN32
std::string programPath() {
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    return length > 0 && std::size_t(length) < sizeof path ? std::string(path, std::size_t(length))
                                                           : std::string();
}

#endif
