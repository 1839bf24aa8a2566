// Frames say what they were rendered from, so that a later run of the same
// animation and settings keeps them and renders only the rest (a cancelled
// render goes on where it stopped): a PNG text chunk right after the
// header, which viewers ignore, holds a hash of the exported animation and
// the render's settings. Frames are stamped as they move out of the work
// folder. Needs no platform beyond the standard library's files.
#pragma once

#include "animrender/FramePlan.h"

#include <string>
#include <vector>

// The stamp of `render` (size, antialiasing) of the animation exported as
// `include`.
std::string renderStamp(const std::string& include, const FrameRender& render);

// `png` with the stamp's chunk after its header; "" unless `png` is a PNG.
std::string stampPng(const std::string& png, const std::string& stamp);
// The stamp in a PNG's first PngStampSize bytes, or "".
std::string pngStamp(const std::string& head);
inline constexpr std::size_t PngStampSize = 78;

// The frames of `frames` that `outDir` (UTF-8) does not hold yet as complete
// PNGs with `stamp`, in order.
std::vector<int> framesToRender(const std::string& outDir, const FrameRender& render,
                                FrameRange frames, const std::string& stamp);

// Moves the complete frame `from` to `to` (UTF-8, on the same disk),
// stamped; the stamped copy is written beside `from` first. False, and
// `error` says why, when it cannot.
bool deliverFrame(const std::string& from, const std::string& to, const std::string& stamp,
                  std::string& error);
