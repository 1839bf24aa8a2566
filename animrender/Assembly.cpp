#include "animrender/Assembly.h"

#include "animrender/FramePlan.h"

#include <cmath>

std::vector<int> gifDelays(int frames, int fps) {
    std::vector<int> delays;
    auto end = [fps](int frame) { return int(std::lround(100.0 * frame / fps)); };
    for (int i = 0; i < frames; ++i)
        delays.push_back(end(i + 1) - end(i));
    return delays;
}

std::vector<std::string> gifArgs(const std::vector<std::string>& frames, int fps,
                                 const std::string& output) {
    std::vector<std::string> args = {"convert", "-loop", "0"};
    std::vector<int> delays = gifDelays(int(frames.size()), fps);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (i == 0 || delays[i] != delays[i - 1])
            args.insert(args.end(), {"-delay", std::to_string(delays[i])});
        // The format named first: a name is never read as an option of its own.
        args.push_back("png:" + frames[i]);
    }
    args.push_back("gif:" + output);
    return args;
}

std::vector<std::string> videoArgs(const std::string& folder, const std::string& stem, int first,
                                   int lastFrame, int fps, const std::string& output) {
    // ffmpeg reads "%" in the input name as its number; its own "%%" is one.
    std::string pattern;
    for (char c : stem)
        pattern += c == '%' ? std::string("%%") : std::string(1, c);
    if (int digits = frameDigits(lastFrame)) pattern += "%0" + std::to_string(digits) + "d";
    // "file:" keeps a name such as "a:b" from being read as a protocol.
    return {"ffmpeg",
            "-nostdin",
            "-y",
            "-v",
            "error",
            "-framerate",
            std::to_string(fps),
            "-start_number",
            std::to_string(first),
            "-i",
            "file:" + folder + "/" + pattern + ".png",
            "-vf",
            "pad=ceil(iw/2)*2:ceil(ih/2)*2",
            "-c:v",
            "libx264",
            "-pix_fmt",
            "yuv420p",
            "-r",
            std::to_string(fps),
            "-f",
            "mp4",
            "file:" + output};
}

std::string missingProgramText(const std::string& program) {
    std::string package = program == "ffmpeg" ? "ffmpeg" : "imagemagick";
    return "cannot run \"" + program + "\": install it (Debian and Ubuntu: apt-get install " +
           package + ")";
}
