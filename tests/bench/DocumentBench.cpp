// Prints what the document's one history costs on a long animation: 10,000
// frames with 1,000 keys, 400 key presses with the timeline shown, then the
// median time to undo and to redo one step and the memory of the 400 steps,
// beside what a copy of the animation per step would take.
#include "document/Document.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double median(std::vector<double> times) {
    std::nth_element(times.begin(), times.begin() + long(times.size() / 2), times.end());
    return times[times.size() / 2];
}

} // namespace

int main() {
    constexpr int Steps = 400;
    Animation big;
    big.setSettings({25, MaxLength, InterpolateSmooth});
    for (int k = 0; k < 1000; ++k) {
        float pose[PoseCount] = {float(k % 90), 0, 0, 0.5f, 30, float(k % 60), 30, -30, 0.25f};
        big.setKey(k * 10, pose);
    }
    Document document;
    document.begin("Open big.tfa");
    document.replaceAnimation(big);
    document.commit();
    document.setKeying(true);
    std::size_t opened = document.history().bytes();
    for (int step = 0; step < Steps; ++step) {
        document.moveTo(step * 25 + 5);
        document.begin("Key 8");
        document.pose().applyKeyAction(KeyRaise);
        document.commit();
    }
    double steps = double(document.history().bytes() - opened) / (1 << 20);
    std::vector<double> undos, redos;
    for (int step = 0; step < Steps; ++step) {
        auto start = std::chrono::steady_clock::now();
        document.undo();
        undos.push_back(millisecondsSince(start));
    }
    for (int step = 0; step < Steps; ++step) {
        auto start = std::chrono::steady_clock::now();
        document.redo();
        redos.push_back(millisecondsSince(start));
    }
    double copies =
        double(Steps) * (sizeof(Animation) + 1000 * TrackCount * sizeof(TrackKey)) / (1 << 20);
    std::printf("10,000 frames, 1,000 keys, %d key steps with the timeline shown\n", Steps);
    std::printf("  undo of one step:      %8.4f ms (median of %d)\n", median(undos), Steps);
    std::printf("  redo of one step:      %8.4f ms (median of %d)\n", median(redos), Steps);
    std::printf("  memory of the steps:   %8.3f MB (the opening step: %.3f MB)\n", steps,
                double(opened) / (1 << 20));
    std::printf("  a copy per step:       %8.3f MB\n", copies);
}
