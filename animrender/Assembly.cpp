#include "animrender/Assembly.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::vector<int> gifDelays(int frames, int fps) {
    std::vector<int> delays;
    auto end = [fps](int frame) { return int(std::lround(100.0 * frame / fps)); };
    for (int i = 0; i < frames; ++i)
        delays.push_back(end(i + 1) - end(i));
    return delays;
}

GifPlan gifPlan(int frames, int fps) {
    GifPlan plan;
    plan.fps = std::min(fps, 50);
    // Shown at time 2j, output frame j is the frame that is on at that time.
    for (int shown = 0;; ++shown) {
        int frame = fps <= 50 ? shown : int(std::floor(double(shown) * fps / 50));
        if (frame >= frames) break;
        plan.frames.push_back(frame);
    }
    plan.delays = gifDelays(int(plan.frames.size()), plan.fps);
    return plan;
}

std::string assemblyInput(const std::string& kind, int index) {
    char number[16];
    std::snprintf(number, sizeof number, "%05d", index);
    return kind + number + ".png";
}

namespace {

// ffmpeg reading the inputs `kind` at `fps`, then `rest`.
std::vector<std::string> ffmpegArgs(const std::string& ffmpeg, const std::string& kind, int fps,
                                    std::vector<std::string> rest) {
    std::vector<std::string> args = {
        ffmpeg, "-nostdin",       "-y", "-v", "error", "-framerate", std::to_string(fps),
        "-i",   kind + "%05d.png"};
    args.insert(args.end(), rest.begin(), rest.end());
    return args;
}

} // namespace

std::vector<std::string> gifArgs(const std::string& ffmpeg, int fps) {
    // One palette for the whole run, from every frame.
    return ffmpegArgs(ffmpeg, "gif", fps,
                      {"-filter_complex", "[0:v]split[a][b];[a]palettegen[p];[b][p]paletteuse",
                       "-loop", "0", "-f", "gif", GifOutput});
}

std::vector<std::string> videoArgs(const std::string& ffmpeg, int fps, int frames,
                                   VideoSound sound) {
    const char* pad = "pad=ceil(iw/2)*2:ceil(ih/2)*2";
    if (!sound.present)
        return ffmpegArgs(ffmpeg, "video", fps,
                          {"-vf", pad, "-c:v", "libx264", "-pix_fmt", "yuv420p", "-r",
                           std::to_string(fps), "-f", "mp4", VideoOutput});
    // Times in whole samples of 48 kHz, the rate the AAC is written at, so
    // that the sound's length is the frames' exactly.
    constexpr long long Rate = 48000;
    long long shift = (long long)sound.startFrame * Rate / fps;
    std::string start =
        shift >= 0 ? "adelay=delays=" + std::to_string(shift) + "S:all=1"
                   : "atrim=start_sample=" + std::to_string(-shift) + ",asetpts=PTS-STARTPTS";
    std::string audio = "[1:a]aresample=" + std::to_string(Rate) + "," + start +
                        ",apad,atrim=end_sample=" + std::to_string(frames * Rate / fps) + "[a]";
    return ffmpegArgs(ffmpeg, "video", fps,
                      {"-i", SoundInput, "-filter_complex",
                       std::string("[0:v]") + pad + "[v];" + audio, "-map", "[v]", "-map", "[a]",
                       "-c:v", "libx264", "-pix_fmt", "yuv420p", "-r", std::to_string(fps), "-c:a",
                       "aac", "-f", "mp4", VideoOutput});
}

std::string missingProgramText(const std::string& program) {
    return "cannot run \"" + program + "\": install it (Debian and Ubuntu: apt-get install " +
           program + ")";
}
