#include "face/PoseText.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* localePoint() {
    return std::localeconv()->decimal_point;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isExp(char c) {
    return c == 'e' || c == 'E';
}
bool isSign(char c) {
    return c == '+' || c == '-';
}

// Formats one value as "%g" does in the C locale, or with the fewest
// digits from six to nine that give the value back.
int formatG(char* out, std::size_t size, float value, bool exact) {
    if (std::isnan(value)) return std::snprintf(out, size, std::signbit(value) ? "-nan" : "nan");
    if (std::isinf(value)) return std::snprintf(out, size, value < 0 ? "-inf" : "inf");
    char text[64];
    for (int digits = 6; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, double(value));
        if (!exact || std::strtof(text, nullptr) == value) break;
    }
    // Put '.' where the locale put its own decimal point.
    const char* point = localePoint();
    std::size_t pointLength = std::strlen(point);
    if (char* at = std::strstr(text, point); at && std::strcmp(point, ".") != 0) {
        *at = '.';
        std::memmove(at + 1, at + pointLength, std::strlen(at + pointLength) + 1);
    }
    return std::snprintf(out, size, "%s", text);
}

// States of the decimal number recogniser; see numberLength.
enum State { Start, Sign, Int, Dot0, Frac, Exp, ExpSign, ExpDigits, Dead };

State next(State s, char c) {
    switch (s) {
    case Start:
        if (isSign(c)) return Sign;
        [[fallthrough]];
    case Sign:
        if (isDigit(c)) return Int;
        return c == '.' ? Dot0 : Dead;
    case Int:
        if (isDigit(c)) return Int;
        if (c == '.') return Frac;
        return isExp(c) ? Exp : Dead;
    case Dot0: return isDigit(c) ? Frac : Dead;
    case Frac:
        if (isDigit(c)) return Frac;
        return isExp(c) ? Exp : Dead;
    case Exp:
        if (isSign(c)) return ExpSign;
        [[fallthrough]];
    case ExpSign:
    case ExpDigits: return isDigit(c) ? ExpDigits : Dead;
    case Dead: break;
    }
    return Dead;
}

bool complete(State s) {
    return s == Int || s == Frac || s == ExpDigits;
}

// Only decimal numbers are pose values: an optional sign, digits with an
// optional point, an optional exponent. Like scanf, the longest prefix that
// could begin a number is taken and must be whole: "1e+" fails rather than
// read as 1, while "0x10" reads as 0 and leaves "x10" as trailing text.
// Returns the length of the number at `s`, 0 if none.
std::size_t numberLength(const char* s) {
    State state = Start;
    std::size_t n = 0;
    while (s[n]) {
        State after = next(state, s[n]);
        if (after == Dead) break;
        state = after;
        ++n;
    }
    return complete(state) ? n : 0;
}

// Converts a number of `length` characters at `s`, written with '.', to the
// nearest float. False when it overflows a float: the pose is written back as
// POV-Ray numbers, which have no infinity.
bool toFloat(const char* s, std::size_t length, float& value) {
    // strtof reads the locale's decimal point: hand it that one.
    const char* point = localePoint();
    std::size_t pointLength = std::strlen(point);
    char text[512];
    std::size_t used = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const char* piece = s[i] == '.' ? point : s + i;
        std::size_t pieceLength = s[i] == '.' ? pointLength : 1;
        if (used + pieceLength >= sizeof text) return false;
        std::memcpy(text + used, piece, pieceLength);
        used += pieceLength;
    }
    text[used] = '\0';
    value = std::strtof(text, nullptr);
    return std::isfinite(value);
}

} // namespace

int formatPoseLine(char* out, std::size_t size, const char* format, const float* values,
                   bool exact) {
    if (size == 0) return -1;
    std::size_t used = 0;
    out[0] = '\0';
    for (const char* f = format; *f; ++f) {
        char piece[64];
        int length = 1;
        if (f[0] == '%' && f[1] == 'g') {
            length = formatG(piece, sizeof piece, *values++, exact);
            ++f;
        } else {
            piece[0] = *f;
            piece[1] = '\0';
        }
        if (length < 0 || used + std::size_t(length) >= size) return -1;
        std::memcpy(out + used, piece, std::size_t(length) + 1);
        used += std::size_t(length);
    }
    return int(used);
}

int scanPoseLine(const char* line, const char* format, float* values, const char** end,
                 bool strict) {
    int count = 0;
    const char* s = line;
    for (const char* f = format; *f; ++f) {
        if (f[0] == '%' && f[1] == 'f') {
            ++f;
            while (!strict && isSpace(*s))
                ++s;
            std::size_t length = numberLength(s);
            float value = 0;
            if (length == 0 || !toFloat(s, length, value)) break;
            *values++ = value;
            ++count;
            s += length;
        } else if (*s == *f) {
            ++s;
        } else {
            break;
        }
    }
    if (end) *end = s;
    return count;
}
