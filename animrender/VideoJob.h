// The editor's video of rendered frames, for a program with a message loop:
// start, then poll from a timer. ffmpeg makes the H.264 MP4, with the
// animation's sound in AAC, in the render's work folder from links to the
// frames and the sound under fixed names of ours, and the video takes the
// user's name only once complete. A Unix ffmpeg under Wine runs through the
// Unix shell; a Windows one sits in a job that ends with this program.
#pragma once

#include "animrender/WorkFolder.h"
#include "render/ShellChild.h"

#include <string>
#include <vector>

class VideoJob {
  public:
    enum State { Running, Done, Failed };

    VideoJob();
    ~VideoJob();
    VideoJob(const VideoJob&) = delete;
    VideoJob& operator=(const VideoJob&) = delete;

    // Starts `ffmpeg` (a full path) making `stem`.mp4 in `outDir` from
    // `frames` (their paths, in order) at `fps`, with the sound at `sound`
    // (none when "") starting at frame `soundStart` of them, cut or padded
    // to the frames' length. False, and `error` says why, when it cannot.
    bool start(const std::string& ffmpeg, const std::vector<std::string>& frames, int fps,
               const std::string& sound, int soundStart, const std::string& outDir,
               const std::string& stem);
    // Done once the video is in place; Failed (and `error`) when ffmpeg
    // failed or passed its deadline.
    State poll();
    // Ends ffmpeg, waits for it (a second at most) and removes the work folder.
    void cancel();

    std::string error;

  private:
    bool link(const std::string& from, const std::string& name);
    bool ended();
    void finish();

    WorkFolder folder_;
    std::string work_; // folder_'s path while it runs
    std::string output_;
    std::string program_;
    bool throughShell_ = false;
    ShellChild shell_;
    void* process_ = nullptr;
    void* job_ = nullptr;
    int exitCode_ = -1;
    double deadline_ = 0;
};
