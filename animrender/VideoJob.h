// The editor's video of rendered frames, for a program with a message loop:
// start, then poll from a timer. ffmpeg makes the H.264 MP4, with the
// animation's sound in AAC, in the render's work folder from links to the
// frames and the sound under fixed names of ours, and the video takes the
// user's name only once complete. The links (copies, where the disk allows
// no link) are made on a thread of their own, so that a long animation
// does not hold up the window; ffmpeg ends with this program (see
// ChildProgram).
#pragma once

#include "animrender/WorkFolder.h"
#include "render/ChildProgram.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

class VideoJob {
  public:
    enum State { Running, Done, Failed };

    VideoJob() = default;
    ~VideoJob();
    VideoJob(const VideoJob&) = delete;
    VideoJob& operator=(const VideoJob&) = delete;

    // Starts making `stem`.mp4 in `outDir` with `ffmpeg` (a full path) from
    // `frames` (their paths, in order) at `fps`, with the sound at `sound`
    // (none when "") starting at frame `soundStart` of them, cut or padded
    // to the frames' length. False, and `error` says why, when it cannot.
    bool start(const std::string& ffmpeg, const std::vector<std::string>& frames, int fps,
               const std::string& sound, int soundStart, const std::string& outDir,
               const std::string& stem);
    // Done once the video is in place; Failed (and `error`) when the inputs
    // could not be put in place, or ffmpeg failed or passed its deadline.
    State poll();
    // Ends ffmpeg, or the linking, waits for it (a second at most) and
    // removes the work folder.
    void cancel();

    std::string error;

  private:
    // On the linking thread: `sources` linked as `names` into `work`, unless
    // stopped first; sets linkError_ when one cannot be.
    void link(const std::vector<std::string>& sources, const std::vector<std::string>& names,
              const std::string& work);
    void startFfmpeg();
    void finish();

    WorkFolder folder_;
    std::string work_; // folder_'s path while it runs
    std::string output_;
    std::vector<std::string> args_;
    int frames_ = 0;
    std::thread linking_;
    std::atomic<bool> linked_{false};
    std::atomic<bool> stopLinking_{false};
    std::string linkError_; // the linking thread's, read once it is joined
    ChildProgram ffmpeg_;
    double deadline_ = 0;
};
