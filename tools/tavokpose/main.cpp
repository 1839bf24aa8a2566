// tavokpose: the posing program's companion on the command line.
#include "render/Povray.h"
#include "tools/tavokpose/Process.h"
#include "tools/tavokpose/TavokPose.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <thread>

int main(int argc, char** argv) {
    TavokPose::Setup setup;
    if (const char* povray = std::getenv(PovrayVariable); povray && *povray) setup.povray = povray;
    if (const char* dir = std::getenv("TAVOK_SCENE_DIR"); dir && *dir)
        setup.sceneDir = dir;
    else
        setup.sceneDir = (std::filesystem::path(programPath()).parent_path() / "povray").string();
    setup.cores = int(std::max(1u, std::thread::hardware_concurrency()));
    TavokPose tool(setup, std::cout, std::cerr);
    return tool.run(std::vector<std::string>(argv + 1, argv + argc));
}
