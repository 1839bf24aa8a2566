// Renders every frame of an animation into a folder with several POV-Ray
// processes side by side, each on its own consecutive frames, then makes
// the GIF and the video asked for. Frames are rendered in a hidden work
// folder beside them and moved out only when complete, so that an
// interrupted or failed render leaves complete frames and nothing else.
#pragma once

#include "animation/Animation.h"
#include "animrender/FramePlan.h"

#include <ostream>
#include <string>
#include <vector>

class ChildProcess;

class AnimationRender {
  public:
    struct Options {
        FrameRender render; // povray, stem, size; lastFrame set by run()
        std::string sceneDir;
        std::string outDir;
        int jobs = 1;
        std::string gif;       // none when empty
        std::string video;     // none when empty
        bool progress = false; // a progress line, for a terminal
    };
    enum Result { Done, Failed, Interrupted };

    // The progress line goes to `out`.
    AnimationRender(Options options, std::ostream& out);
    // `error` says what went wrong, for "tavokpose: ..." lines.
    Result run(const Animation& animation);

    // The work folder holding the scene and the export, in `outDir`; "" and
    // `error` set when it cannot be made.
    static std::string prepare(const Animation& animation, const std::string& sceneDir,
                               const std::string& outDir, const std::string& stem,
                               std::string& error);

    std::string error;

  private:
    struct Job;
    Result render(const std::string& work, int lastFrame);
    // Moves the job's complete frames out: how many, or -1 when one cannot move.
    int collect(Job& job, const std::string& work, bool ended);
    bool assemble(const std::string& work, int lastFrame, int fps);
    bool runTool(const std::vector<std::string>& args, const std::string& work,
                 const std::string& output);

    Options options_;
    std::ostream& out_;
};
