// Which frames an animation render makes, which POV-Ray process renders
// which, and what the images are called. POV-Ray numbers each frame's image
// itself, with as many digits as the animation's last frame needs (none
// when the animation has one frame). Needs no platform.
#pragma once

#include <string>
#include <vector>

struct FrameRange {
    int first = 0;
    int last = 0;

    int count() const { return last - first + 1; }
    bool operator==(const FrameRange& other) const {
        return first == other.first && last == other.last;
    }
};

// `frames` as at most `jobs` runs of consecutive frames, in order, whose
// sizes differ by one at most, so that every process gets its fair share.
std::vector<FrameRange> splitFrames(FrameRange frames, int jobs);
// `frames` (ascending) shared out among `jobs` processes the same way, each
// share cut where a frame is left out (already rendered): runs a process
// renders one after another.
std::vector<std::vector<FrameRange>> shareFrames(const std::vector<int>& frames, int jobs);

// The digits POV-Ray gives frame numbers when `lastFrame` is the last one.
int frameDigits(int lastFrame);
// The image POV-Ray writes for `frame` with the output name "<stem>.png".
// A stem that ends in a digit (or in the "-" this adds) gets a "-" before
// the number: else "a1"'s frame 0 and "a"'s frame 10 would both be a10.png.
std::string frameFileName(const std::string& stem, int frame, int lastFrame);
// The name before the number in frameFileName().
std::string frameStem(const std::string& stem);

// The one name POV-Ray writes frames under, in the work folder: its option
// parser splits at spaces and quotes and reads no UTF-8, so the user's name
// is given to a frame only as it moves out.
inline constexpr const char* PovrayStem = "frame";

// Whether `tail`, a file's last bytes, ends a PNG: its IEND chunk, which
// POV-Ray writes last.
bool endsPng(const std::string& tail);
inline constexpr std::size_t PngEndSize = 12;

// One animation's render: every process runs the sample scene with the
// exported animation (TavokHead.pov, TavokHead.inc and animation.inc in its
// current folder) on one thread, leaving the other cores to the others.
struct FrameRender {
    std::string povray = "povray";
    std::string stem; // the user's: the frames' names once moved out
    int width = 320;
    int height = 240;
    bool antialias = true;
    int lastFrame = 0; // the animation's, which sets the names' digits
};

// POV-Ray's arguments (the program first) rendering the frames of `range`.
// POV-Ray for Windows, a window, is told to render and then end (/RENDER,
// /EXIT) and to write its messages to `logFile` (+GA), as it has no other
// output; the console POV-Ray's output is redirected by the caller.
std::vector<std::string> povrayFrameArgs(const FrameRender& render, FrameRange range,
                                         const std::string& logFile);

// The longest a POV-Ray process may go without finishing a frame.
inline constexpr int FrameSeconds = 600;

// The hidden folder inside the output folder where frames are rendered
// before they are moved, complete, beside the others: on the same disk, so
// that the move is a rename.
std::string workFolderName(const std::string& stem);
// The stem in the names of the hidden folders: whole when short, else its
// head and a hash of it all, so that a stem as long as a file name may be
// still names a folder, and no two stems share one.
std::string workStem(const std::string& stem);
