#include "face/LineReader.h"

int LineReader::get() {
    if (in_) return std::getc(in_);
    return at_ < text_->size() ? static_cast<unsigned char>((*text_)[at_++]) : EOF;
}

void LineReader::unget(int c) {
    if (in_)
        std::ungetc(c, in_);
    else if (c != EOF)
        --at_;
}

LineReader::Result LineReader::read(char* line, int capacity, int* length) {
    int used = 0;
    for (;;) {
        int c = ended_ ? EOF : get();
        if (c == 26) ended_ = true;
        if (c == EOF || c == 26) {
            if (failed()) return Error;
            if (used == 0) return End;
            break;
        }
        if (c == '\n') break;
        // A CR LF pair is one line end: its CR never counts toward the limit.
        if (c == '\r') {
            int after = get();
            if (after == '\n') break;
            unget(after);
        }
        if (used == capacity) return TooLong;
        line[used++] = char(c);
    }
    line[used] = '\0';
    if (length) *length = used;
    return Line;
}
