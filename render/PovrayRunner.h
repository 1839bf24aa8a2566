// Runs POV-Ray on poses in a private scratch folder (the scene files copied
// there, the pose written as pose.txt), as child processes with no console
// window that the caller polls and may end. Renders are numbered; each
// writes its own files, so an ended render that is still winding down never
// mixes with the next one. Every render has a deadline, and no child
// outlives the runner: Windows children sit in a job that ends them when
// the program ends, Unix ones (under Wine) are ended as a process group.
#pragma once

#include "render/RgbImage.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

class PovrayRunner {
  public:
    enum State { Running, Rendered, Failed, TimedOut };

    PovrayRunner();
    ~PovrayRunner();
    PovrayRunner(const PovrayRunner&) = delete;
    PovrayRunner& operator=(const PovrayRunner&) = delete;

    // Makes the scratch folder (again, when it went away) and copies the
    // scene there; the first time it also removes the scratch folders of
    // programs that no longer run. False, and `problem` and `error` say
    // why, when that fails.
    bool prepare();
    // The POV-Ray program: the one POVRAY names, else povray.exe,
    // pvengine64.exe or pvengine.exe on the PATH or in POV-Ray for Windows'
    // install folder, else (under Wine) povray on the Unix PATH; "" when
    // there is none.
    std::string findPovray();
    // Another program a render uses (ffmpeg): `name`.exe on the PATH, else
    // (under Wine) `name` on the Unix PATH; "" when there is none.
    std::string findTool(const std::string& name);
    static std::string findScene();
    // Removes the scratch folders of programs that no longer run (a killed
    // editor's): at the program's start, and at a runner's first prepare().
    static void removeStaleFolders();

    // Starts rendering `pose` (the thirteen values) with `program`; the
    // render's number, or 0 (and `problem` and `error` say why) when it
    // could not start. With a `count` of poses one after another (at most
    // MaxRunFrames), they are the frames of one run: a start of POV-Ray
    // takes longer than a small frame.
    int start(const std::string& program, const float* pose, int width, int height, int count = 1);
    // Whether render `number` still runs; once it ended, `image` and
    // `frames`, or `problem` and `error` (`frames` then holds those that
    // were written, empty ones for the others). Past its deadline it is
    // ended: TimedOut.
    State poll(int number);
    // Ends render `number` without waiting for it.
    void cancel(int number);
    // Goes on ending the renders cancelled earlier; true while one still runs.
    bool tidy();
    // Ends every render, waits a few seconds at most for them to go, and
    // removes the scratch folder.
    void close();

    const std::string& folder() const { return folder_; }

    RgbImage image;               // the first frame
    std::vector<RgbImage> frames; // each pose's
    std::string problem;          // a few words for the status line
    std::string error;            // the details

  private:
    // The Unix program `name`, asked of the Unix shell under Wine, or "".
    std::string findUnixProgram(const std::string& name);
    struct Child {
        int number;
        void* process;     // its handle; null when run through the Unix shell
        bool throughShell; // a Unix program under Wine, known by its files
        int group;         // the Unix process group, once its file tells it
        int signals;       // 0 none sent, 1 asked to end, 2 killed
        bool cancelled;
        long long startedAt;
        long long deadline;
        long long graceEnd; // when an ended child that did not go is killed
        int frames;
    };
    // The image POV-Ray writes for render `number`, or the name its frames'
    // images are made from.
    std::string imageFile(int number, int frames) const;
    // Writes the scratch file `name` whole, then in its place.
    bool writeScratch(const char* name, const std::function<bool(std::FILE*)>& write);
    std::string file(const char* kind, int number) const;
    bool ended(Child& child);
    void end(Child& child, bool kill);
    void fail(const char* what, std::string details);
    // Closes the child's handle and deletes its files.
    void forget(std::size_t index);

    std::string folder_;
    std::string scene_;
    std::vector<Child> children_;
    int lastNumber_ = 0;
    long long lastRender_ = 0;
    void* job_ = nullptr;
};
