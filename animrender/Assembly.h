// Putting rendered frames together: the animated GIF's timing and the
// commands of the programs that assemble (ImageMagick's convert, ffmpeg).
// Needs no platform.
#pragma once

#include <string>
#include <vector>

// Each frame's GIF delay in hundredths of a second, the only unit GIF has:
// frame i ends at round(100 * (i + 1) / fps), so that a rate that does not
// divide 100 keeps its pace over the whole animation (30 fps: 3, 4, 3, ...).
std::vector<int> gifDelays(int frames, int fps);

// convert's arguments (the program first) making the looping GIF `output`
// of `frames` (image files, in order) at `fps`.
std::vector<std::string> gifArgs(const std::vector<std::string>& frames, int fps,
                                 const std::string& output);

// ffmpeg's arguments making the H.264 MP4 `output` at `fps` from the frames
// `first`.. named as POV-Ray names them after `stem` in `folder`. Odd sizes
// are padded by a pixel: the usual players' pixel format (yuv420p) needs
// even ones.
std::vector<std::string> videoArgs(const std::string& folder, const std::string& stem, int first,
                                   int lastFrame, int fps, const std::string& output);

// Which Debian package brings a missing assembling program.
std::string missingProgramText(const std::string& program);
