// Putting rendered frames together: which frames the animated GIF shows and
// for how long, and ffmpeg's commands making the GIF and the video. ffmpeg
// reads and writes fixed names of ours in the work folder only (its input
// patterns read "%", its output names may be protocols), never the user's.
// Needs no platform.
#pragma once

#include <string>
#include <vector>

// Each frame's GIF delay in hundredths of a second, the only unit GIF has:
// frame i ends at round(100 * (i + 1) / fps), so that a rate that does not
// divide 100 keeps its pace over the whole animation (30 fps: 3, 4, 3, ...).
std::vector<int> gifDelays(int frames, int fps);

// The frames a GIF shows (indexes into the animation's) and their delays.
// Browsers play a delay below 2 hundredths as 10, so above 50 fps frames are
// dropped evenly and the rest shown at 50 fps.
struct GifPlan {
    std::vector<int> frames;
    std::vector<int> delays;
    int fps = 25; // the rate the frames kept are shown at
};
GifPlan gifPlan(int frames, int fps);

// The name the `index`th input of an assembly `kind` ("gif", "video") is
// linked under in the work folder, and ffmpeg's pattern reading them all.
std::string assemblyInput(const std::string& kind, int index);
// Where ffmpeg writes the GIF and the video in the work folder.
inline constexpr const char* GifOutput = "out.gif";
inline constexpr const char* VideoOutput = "out.mp4";

// ffmpeg's arguments (the program first) making the looping GIF from the
// "gif" inputs at `fps`, each frame with a palette of its whole run.
std::vector<std::string> gifArgs(const std::string& ffmpeg, int fps);
// The name the animation's sound is linked under in the work folder.
inline constexpr const char* SoundInput = "sound.wav";

// The sound a video carries: whether there is one, and the frame it starts
// at (earlier than frame 0 when negative).
struct VideoSound {
    bool present = false;
    int startFrame = 0;
};

// ffmpeg's arguments making the H.264 MP4 of `frames` frames from the
// "video" inputs at `fps`. Odd sizes are padded by a pixel: the usual
// players' pixel format (yuv420p) needs even ones. With a sound, the AAC
// sound of SoundInput starting at its frame, cut or padded with silence to
// the frames' length.
std::vector<std::string> videoArgs(const std::string& ffmpeg, int fps, int frames = 0,
                                   VideoSound sound = {});

// What to do when ffmpeg is missing.
std::string missingProgramText(const std::string& program);
