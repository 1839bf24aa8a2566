#include "face/LineReader.h"

LineReader::Result LineReader::read(char* line, int capacity, int* length) {
    int used = 0;
    for (;;) {
        int c = ended_ ? EOF : std::getc(in_);
        if (c == 26) ended_ = true;
        if (c == EOF || c == 26) {
            if (std::ferror(in_)) return Error;
            if (used == 0) return End;
            break;
        }
        if (c == '\n') break;
        // A CR LF pair is one line end: its CR never counts toward the limit.
        if (c == '\r') {
            int after = std::getc(in_);
            if (after == '\n') break;
            std::ungetc(after, in_);
        }
        if (used == capacity) return TooLong;
        line[used++] = char(c);
    }
    line[used] = '\0';
    if (length) *length = used;
    return Line;
}
