// Timing shared by the benchmarks: a high-resolution clock and the median of
// many timed calls after a warm-up.
#pragma once

#include <algorithm>
#include <vector>
#include <windows.h>

inline double secondsNow() {
    static const double frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return double(value.QuadPart);
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return double(count.QuadPart) / frequency;
}

inline double median(std::vector<double>& times) {
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

// The median duration of call(i) over `calls` calls, in seconds times `scale`;
// GdiFlush makes each call wait for its drawing to finish.
template <class Call> double medianOf(int calls, double scale, Call call) {
    for (int i = 0; i < 20; ++i)
        call(i);
    std::vector<double> times;
    for (int i = 0; i < calls; ++i) {
        double start = secondsNow();
        call(i);
        GdiFlush();
        times.push_back((secondsNow() - start) * scale);
    }
    return median(times);
}
