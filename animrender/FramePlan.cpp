#include "animrender/FramePlan.h"

#include "render/Povray.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

std::vector<FrameRange> splitFrames(FrameRange frames, int jobs) {
    std::vector<FrameRange> ranges;
    int count = std::max(0, frames.count());
    jobs = std::min(std::max(1, jobs), count);
    for (int job = 0, first = frames.first; job < jobs; ++job) {
        int size = count / jobs + (job < count % jobs ? 1 : 0);
        ranges.push_back({first, first + size - 1});
        first += size;
    }
    return ranges;
}

std::vector<std::vector<FrameRange>> shareFrames(const std::vector<int>& frames, int jobs) {
    std::vector<std::vector<FrameRange>> shares;
    for (FrameRange share : splitFrames({0, int(frames.size()) - 1}, jobs)) {
        shares.emplace_back();
        for (int i = share.first; i <= share.last; ++i) {
            int frame = frames[std::size_t(i)];
            if (i == share.first || frame != shares.back().back().last + 1)
                shares.back().push_back({frame, frame});
            else
                shares.back().back().last = frame;
        }
    }
    return shares;
}

int frameDigits(int lastFrame) {
    if (lastFrame <= 0) return 0;
    int digits = 0;
    for (; lastFrame > 0; lastFrame /= 10)
        ++digits;
    return digits;
}

std::string frameStem(const std::string& stem) {
    bool apart = !stem.empty() &&
                 (std::isdigit(static_cast<unsigned char>(stem.back())) || stem.back() == '-');
    return apart ? stem + "-" : stem;
}

std::string frameFileName(const std::string& stem, int frame, int lastFrame) {
    char number[16] = "";
    if (int digits = frameDigits(lastFrame))
        std::snprintf(number, sizeof number, "%0*d", digits, frame);
    return frameStem(stem) + number + ".png";
}

bool endsPng(const std::string& tail) {
    static const std::string iend("\0\0\0\0IEND\xAE\x42\x60\x82", PngEndSize);
    return tail.size() >= PngEndSize &&
           tail.compare(tail.size() - PngEndSize, PngEndSize, iend) == 0;
}

std::vector<std::string> povrayFrameArgs(const FrameRender& render, FrameRange range,
                                         const std::string& logFile) {
    bool windows = isPovrayForWindows(render.povray);
    std::vector<std::string> args = {render.povray,
                                     windows ? "TavokHead.pov" : "+ITavokHead.pov",
                                     "+O" + std::string(PovrayStem) + ".png",
                                     "+FN",
                                     "+W" + std::to_string(render.width),
                                     "+H" + std::to_string(render.height),
                                     "Declare=Animation=1",
                                     "+KFI0",
                                     "+KFF" + std::to_string(render.lastFrame),
                                     "+SF" + std::to_string(range.first),
                                     "+EF" + std::to_string(range.last),
                                     "+WT1",
                                     "-D",
                                     "-P",
                                     "-V"};
    if (render.antialias) args.insert(args.begin() + 6, "+A0.1");
    if (windows) {
        args.insert(args.begin() + 1, {"/EXIT", "/RENDER"});
        args.push_back("+GA" + logFile);
    }
    return args;
}

std::string workStem(const std::string& stem) {
    // Longer hashed forms than any stem kept whole: the two never meet.
    constexpr std::size_t whole = 36, head = 24;
    if (stem.size() <= whole) return stem;
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : stem)
        hash = (hash ^ c) * 1099511628211ull;
    std::size_t cut = head;
    while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80)
        --cut;
    char text[24];
    std::snprintf(text, sizeof text, "~%016llx", static_cast<unsigned long long>(hash));
    return stem.substr(0, cut) + text;
}

std::string workFolderName(const std::string& stem) {
    return ".tavokpose-" + workStem(stem) + "-frames";
}
