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
#include "render/ChildStart.h"

#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

// Names, paths and settings in UTF-8, as the rest of the tool takes them:
// Windows hands narrow programs the ANSI code page, which loses letters.
#ifdef _WIN32
std::vector<std::string> arguments(int, char**) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i)
        args.push_back(utf8Text(wide[i]));
    LocalFree(wide);
    return args;
}

std::string environment(const char* name) {
    const wchar_t* value = _wgetenv(wideText(name).c_str());
    return value ? utf8Text(value) : std::string();
}

std::string ownFolder() {
    return programFolder();
}
#else
std::vector<std::string> arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string ownFolder() {
    return std::filesystem::path(programPath()).parent_path().string();
}
#endif

#ifdef _WIN32
// POV-Ray for Windows installs pvengine64.exe in a folder of its own, not on
// the PATH; Debian's povray under Wine is found by the Unix shell.
std::string windowsPovray() {
    std::string folders = environment("PATH");
    for (const char* name : {"ProgramW6432", "ProgramFiles"})
        if (std::string folder = environment(name); !folder.empty())
            folders += ";" + povrayInstallFolder(folder);
    std::string found = findProgram("", folders, ';', povrayNames, [](const std::string& file) {
        std::error_code code;
        return std::filesystem::is_regular_file(std::filesystem::u8path(file), code);
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
    if (std::string povray = environment(PovrayVariable); !povray.empty()) setup.povray = povray;
    std::filesystem::path programDir = std::filesystem::u8path(ownFolder());
    setup.sceneDir = environment("TAVOK_SCENE_DIR");
    if (setup.sceneDir.empty()) setup.sceneDir = (programDir / "povray").u8string();
    setup.mouthsDir = (programDir / "poses" / "mouths").u8string();
    setup.cores = int(std::max(1u, std::thread::hardware_concurrency()));
#ifdef _WIN32
    setup.terminal = _isatty(_fileno(stdout));
#else
    setup.terminal = isatty(STDOUT_FILENO);
#endif
    TavokPose tool(setup, std::cout, std::cerr);
    return tool.run(arguments(argc, argv));
}
