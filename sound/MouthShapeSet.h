// The five mouth values of each mouth shape, read from ordinary pose files,
// one per shape named after it ("open.txt"), of which only the mouth counts.
// Needs no platform.
#pragma once

#include "sound/MouthShape.h"

#include <string>

constexpr int MouthValues = 5;

class MouthShapeSet {
  public:
    // Reads every shape's file in `folder`; false, keeping the values held,
    // when one is missing or broken. error() then names the file, the line
    // and what is wrong.
    bool load(const std::string& folder);
    const float* mouth(MouthShape shape) const { return mouths_[int(shape)]; }
    const std::string& error() const { return error_; }

  private:
    float mouths_[MouthShapeCount][MouthValues] = {};
    std::string error_;
};
