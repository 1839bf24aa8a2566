// Renders every frame of an animation into a folder with several POV-Ray
// processes side by side, each on its own consecutive frames, then makes
// the GIF and the video asked for. Frames an earlier run of the same
// animation and settings left there are kept. Frames are rendered in a hidden work
// folder beside them, under a fixed name of ours, and moved out (taking the
// user's name) once complete, so that an interrupted or failed render
// leaves complete frames and nothing else.
#pragma once

#include "animation/Animation.h"
#include "animrender/FramePlan.h"

#include <ostream>
#include <string>
#include <vector>

class WorkFolder;

class AnimationRender {
  public:
    struct Options {
        FrameRender render; // povray, stem, size; lastFrame set by run()
        std::string sceneDir;
        std::string outDir;
        int jobs = 0; // POV-Ray processes; 0: as many as keep the cores busy
        int cores = 1;
        std::string gif;       // none when empty
        std::string video;     // none when empty
        std::string sound;     // the video's sound file, none when empty
        int soundStart = 0;    // the frame the sound starts at
        bool progress = false; // a progress line, for a terminal
        // How long an assembling tool may write nothing, before a share
        // for each frame, until it is ended as hung.
        double stallSeconds = 60;
    };
    enum Result { Done, Failed, Interrupted, InUse };

    // The progress line and notices go to `out`.
    AnimationRender(Options options, std::ostream& out);
    // `error` says what went wrong, for "tavokpose: ..." lines.
    Result run(const Animation& animation);

    // Copies the scene into `work` and writes the animation's export there;
    // false and `error` set when it cannot.
    static bool prepare(const Animation& animation, const std::string& sceneDir,
                        const std::string& work, std::string& error);

    std::string error;

  private:
    struct Job;
    Result render(const std::string& work, const std::vector<int>& frames);
    // Starts POV-Ray on the job's run `run` (its log numbered `number`).
    bool startRun(Job& job, std::size_t number, const std::string& work);
    // Why the job's run failed, or "".
    std::string problem(Job& job, bool ended, const std::string& log) const;
    // Moves the job's complete frames out: how many, or -1 when one cannot move.
    int collect(Job& job, const std::string& work);
    Result assemble(const std::string& work, int lastFrame, int fps);
    // Links the frames `frames` into `work` as the assembly's inputs `kind`.
    bool link(const std::string& work, const std::string& kind, const std::vector<int>& frames);
    // Links `from` into `work` as `name`, or copies it.
    bool linkFile(const std::string& from, const std::string& work, const std::string& name);
    // Runs an assembling tool writing `output` in `work` from `frames` frames.
    Result runTool(const std::vector<std::string>& args, const std::string& work,
                   const char* output, int frames);
    bool deliver(const std::string& from, const std::string& to);

    Options options_;
    std::ostream& out_;
    std::string ffmpeg_;
    std::string stamp_;
};
