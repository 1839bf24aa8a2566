// What the lip-sync reads from a voice every 10 ms: its loudness and how
// its energy spreads over the spectrum, from a Hann window of about 25 ms
// centred on each 10 ms step. Needs no platform.
#pragma once

#include <vector>

struct SpeechFrame {
    float level;      // mean power in dB of full scale
    float low;        // shares of the power from 100 Hz up: below 900 Hz,
    float middle;     // 900 to 2500 Hz,
    float high;       // and above 2500 Hz
    float firstPeak;  // power-weighted mean frequency of 200-1000 Hz, Hz
    float secondPeak; // and of 900-2600 Hz
};

constexpr double SpeechStep = 0.01; // seconds

// One frame per 10 ms step of `samples` at `rate` Hz (the step containing
// the last sample included).
std::vector<SpeechFrame> speechFrames(const float* samples, long long count, int rate);
