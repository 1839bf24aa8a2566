// The animated GIF of rendered frames, encoded by the platform's imaging
// component (WIC): each frame reduced to its own 256-colour palette, then
// the timing set on the finished bytes (GifTiming), since Wine's metadata
// writers refuse the delay and the loop block; doing it the same way
// everywhere keeps one path.
#pragma once

#include <atomic>
#include <string>
#include <vector>

// Writes `output` from the images `frames` (any format WIC reads), image i
// shown delays[i] hundredths of a second, looping; the file is replaced
// only when complete. False, and `error` says why, on failure, or once
// `stop` (when given) is set.
bool writeAnimatedGif(const std::vector<std::string>& frames, const std::vector<int>& delays,
                      const std::string& output, std::string& error,
                      const std::atomic<bool>* stop = nullptr);
