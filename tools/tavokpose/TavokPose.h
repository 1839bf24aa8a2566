// The tavokpose command line: checks pose files with the posing program's own
// reader, checks and exports animations, renders them with POV-Ray, lays several out on a contact
// sheet, writes blends of two poses for animations, and keys an animation's
// mouth from a voice.
#pragma once

#include "animation/Animation.h"
#include "face/PoseModel.h"
#include "tools/tavokpose/AnimationRender.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

// Exit codes scripts can rely on.
enum ExitCode { ExitOk = 0, ExitBadInput = 1, ExitUsage = 2, ExitRenderFailed = 3 };

class TavokPose {
  public:
    struct Setup {
        std::string povray = "povray"; // the POV-Ray program
        std::string sceneDir;          // the folder of TavokHead.pov
        std::string mouthsDir;         // the mouth shapes' pose files
        int cores = 1;                 // renders a sheet runs side by side
        bool terminal = false;         // the output is a terminal: progress lines
        double stallSeconds = 60;      // see AnimationRender::Options
    };

    TavokPose(Setup setup, std::ostream& out, std::ostream& err);

    // Runs the command in `args` (without the program name); an exit code.
    int run(const std::vector<std::string>& args);

  private:
    int check(const std::vector<std::string>& files);
    int render(const std::vector<std::string>& args);
    int sheet(const std::vector<std::string>& args);
    int blend(const std::vector<std::string>& args);
    int exportAnimation(const std::vector<std::string>& args);
    int animate(const std::vector<std::string>& args);
    int farm(const std::vector<std::string>& args);
    int lipsync(const std::vector<std::string>& args);
    // Reads the animation and the options animate and farm share into
    // `options`; -1, or the exit code of what was wrong.
    int animationJob(std::vector<std::string>& args, Animation& animation,
                     AnimationRender::Options& options);
    int usage(const std::string& problem);

    // Reads `path` into `pose`; on failure reports "FILE:LINE: why" on the
    // error stream and returns false.
    bool readPose(const std::string& path, float (&pose)[PoseCount]);
    bool readAnimation(const std::string& path, Animation& animation);
    // Whether the folder of `path` takes files; true for `madeLater`.
    bool outputFolderExists(const std::string& path, const std::filesystem::path& madeLater = {});
    // Takes "--size WxH" and "--jobs N" out of `args`; false after a usage error.
    bool takeOptions(std::vector<std::string>& args, int& width, int& height, int* jobs);

    Setup setup_;
    std::ostream& out_;
    std::ostream& err_;
};
