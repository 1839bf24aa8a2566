#include "expressions/LibraryPlace.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

bool placeLibrary(const ScreenBox& frame, const std::vector<ScreenBox>& clear,
                  const ScreenBox& work, int width, int height, int& left, int& top) {
    // A clear place, if any, touches an edge of the frame, of the work area
    // or of a box to keep clear: those edges are the candidates.
    std::vector<int> xs = {frame.right, frame.left - width, work.left, work.right - width};
    std::vector<int> ys = {frame.top, frame.bottom, work.top, work.bottom - height};
    for (const ScreenBox& box : clear) {
        xs.insert(xs.end(), {box.right, box.left - width});
        ys.insert(ys.end(), {box.bottom, box.top - height});
    }
    long best = LONG_MAX;
    for (int x : xs)
        for (int y : ys) {
            if (x < work.left || y < work.top || x + width > work.right || y + height > work.bottom)
                continue;
            bool over = std::any_of(clear.begin(), clear.end(), [&](const ScreenBox& box) {
                return x < box.right && box.left < x + width && y < box.bottom &&
                       box.top < y + height;
            });
            long distance = std::labs(long(x) - frame.right) + std::labs(long(y) - frame.top);
            if (!over && distance < best) {
                best = distance;
                left = x;
                top = y;
            }
        }
    return best != LONG_MAX;
}
