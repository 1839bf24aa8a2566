// Lines of the program's text files as a text-mode stream delivers them:
// CR LF and LF both end a line, and a byte 26 ends the file. Needs no
// platform.
#pragma once

#include <cstdio>

class LineReader {
  public:
    explicit LineReader(std::FILE* in) : in_(in) {}

    enum Result { Line, End, TooLong, Error };

    // The next line, terminated, into `line` of `capacity` characters and
    // its terminator; `length` counts its bytes, NULs inside it included.
    Result read(char* line, int capacity, int* length = nullptr);

  private:
    std::FILE* in_;
    bool ended_ = false;
};
