// Runs POV-Ray on poses in a private scratch folder (the scene files copied
// there, the pose written as pose.txt), as child processes with no console
// window that the caller polls and may end. Renders are numbered; each
// writes its own files, so an ended render that is still winding down never
// mixes with the next one.
#pragma once

#include "render/RgbImage.h"

#include <string>
#include <vector>

class PovrayRunner {
  public:
    enum State { Running, Rendered, Failed };

    PovrayRunner() = default;
    ~PovrayRunner() { close(); }
    PovrayRunner(const PovrayRunner&) = delete;
    PovrayRunner& operator=(const PovrayRunner&) = delete;

    // Makes the scratch folder and copies the scene there; false, and
    // `error` says why, when that fails.
    bool prepare();
    // The POV-Ray program: the one POVRAY names, else povray.exe on the
    // PATH, else (under Wine) povray on the Unix PATH; "" when there is none.
    std::string findPovray();
    static std::string findScene();

    // Starts rendering `pose` (the thirteen values) with `program`; the
    // render's number, or 0 (and `error` says why) when it could not start.
    int start(const std::string& program, const float* pose, int width, int height);
    // Whether render `number` still runs; once it ended, `image` or `error`.
    State poll(int number);
    // Ends render `number` without waiting for it.
    void cancel(int number);
    // Ends every render, waits a few seconds at most for them to go, and
    // removes the scratch folder.
    void close();

    const std::string& folder() const { return folder_; }

    RgbImage image;
    std::string error;

  private:
    struct Child {
        int number;
        void* process; // null for a Unix program under Wine, ended through its id
        bool cancelled;
        bool killSent;
    };
    std::string file(const char* kind, int number) const;
    bool ended(Child& child);
    void end(Child& child);
    // Closes the child's handle and deletes its files.
    void forget(std::size_t index);
    // Retries ending cancelled renders; forgets those that ended.
    void sweep();

    std::string folder_;
    std::string scene_;
    std::vector<Child> children_;
    int lastNumber_ = 0;
};
