// tavokpose: the posing program's companion on the command line.
#include "render/Povray.h"
#include "tools/tavokpose/Process.h"
#include "tools/tavokpose/TavokPose.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <thread>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
// POV-Ray for Windows installs pvengine64.exe in a folder of its own, not on
// the PATH; Debian's povray under Wine is found by the Unix shell.
std::string windowsPovray() {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    for (const char* name : {"ProgramW6432", "ProgramFiles"})
        if (const char* folder = std::getenv(name)) folders += ";" + povrayInstallFolder(folder);
    std::string found = findProgram("", folders, ';', povrayNames, [](const std::string& file) {
        std::error_code code;
        return std::filesystem::is_regular_file(file, code);
    });
    return found.empty() ? "povray" : found;
}
#endif

} // namespace

int main(int argc, char** argv) {
    TavokPose::Setup setup;
#ifdef _WIN32
    setup.povray = windowsPovray();
#endif
    if (const char* povray = std::getenv(PovrayVariable); povray && *povray) setup.povray = povray;
    if (const char* dir = std::getenv("TAVOK_SCENE_DIR"); dir && *dir)
        setup.sceneDir = dir;
    else
        setup.sceneDir = (std::filesystem::path(programPath()).parent_path() / "povray").string();
    setup.mouthsDir =
        (std::filesystem::path(programPath()).parent_path() / "poses" / "mouths").string();
    setup.cores = int(std::max(1u, std::thread::hardware_concurrency()));
#ifdef _WIN32
    setup.terminal = _isatty(_fileno(stdout));
#else
    setup.terminal = isatty(STDOUT_FILENO);
#endif
    TavokPose tool(setup, std::cout, std::cerr);
    return tool.run(std::vector<std::string>(argv + 1, argv + argc));
}
