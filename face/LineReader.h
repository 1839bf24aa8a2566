// Lines of the program's text files as a text-mode stream delivers them:
// CR LF and LF both end a line, and a byte 26 ends the file. Needs no
// platform.
#pragma once

#include <cstdio>
#include <string>

class LineReader {
  public:
    explicit LineReader(std::FILE* in) : in_(in) {}
    // The lines of a file's bytes read before; `text` outlives the reader.
    explicit LineReader(const std::string& text) : text_(&text) {}

    enum Result { Line, End, TooLong, Error };

    // The next line, terminated, into `line` of `capacity` characters and
    // its terminator; `length` counts its bytes, NULs inside it included.
    Result read(char* line, int capacity, int* length = nullptr);

  private:
    int get();
    void unget(int c);
    bool failed() const { return in_ && std::ferror(in_); }

    std::FILE* in_ = nullptr;
    const std::string* text_ = nullptr;
    std::size_t at_ = 0;
    bool ended_ = false;
};
