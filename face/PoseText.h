// The number forms of the pose file: printf's "%g" and scanf's "%f",
// independent of the C locale and identical on every build.
#pragma once

#include <cstddef>

// Expands `format`, made of literal characters and "%g" conversions, with
// consecutive `values`. Returns the length written, or -1 if `size` is too
// small (the buffer then holds a terminated prefix). `exact` writes each
// value as the shortest text that reads back as the same float ("%g" when
// that does, at most "%.9g").
int formatPoseLine(char* out, std::size_t size, const char* format, const float* values,
                   bool exact = false);

// Scans `line` as sscanf would with `format`, made of literal characters and
// "%f" conversions, storing each value into consecutive `values` the moment it
// is converted. Only finite decimal numbers convert: no hexadecimal, infinity
// or NaN, and nothing that overflows a float. Returns the number of values
// converted. `end`, if given, receives where the scan stopped. `strict`
// takes no white space before a number but what the format holds.
int scanPoseLine(const char* line, const char* format, float* values, const char** end = nullptr,
                 bool strict = false);
