#include "PoseText.h"

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
bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool isExp(char c) {
    return c == 'e' || c == 'E';
}
bool isHexExp(char c) {
    return c == 'p' || c == 'P';
}
bool isSign(char c) {
    return c == '+' || c == '-';
}
char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Formats one value as "%g" does in the C locale.
int formatG(char* out, std::size_t size, float value) {
    if (std::isnan(value)) return std::snprintf(out, size, std::signbit(value) ? "-nan" : "nan");
    if (std::isinf(value)) return std::snprintf(out, size, value < 0 ? "-inf" : "inf");
    char text[64];
    std::snprintf(text, sizeof text, "%g", double(value));
    // Put '.' where the locale put its own decimal point.
    const char* point = localePoint();
    std::size_t pointLength = std::strlen(point);
    if (char* at = std::strstr(text, point); at && std::strcmp(point, ".") != 0) {
        *at = '.';
        std::memmove(at + 1, at + pointLength, std::strlen(at + pointLength) + 1);
    }
    return std::snprintf(out, size, "%s", text);
}

// States of the number recogniser; see numberLength.
enum State {
    Start,
    Sign,
    Zero,
    Int,
    Dot0,
    Frac,
    Exp,
    ExpSign,
    ExpDigits,
    Hex0,
    HexInt,
    HexDot0,
    HexFrac,
    HexExp,
    HexExpSign,
    HexExpDigits,
    Dead
};

State next(State s, char c) {
    switch (s) {
    case Start:
        if (isSign(c)) return Sign;
        [[fallthrough]];
    case Sign:
        if (c == '0') return Zero;
        if (isDigit(c)) return Int;
        return c == '.' ? Dot0 : Dead;
    case Zero:
        if (c == 'x' || c == 'X') return Hex0;
        [[fallthrough]];
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
    case Hex0:
        if (isHexDigit(c)) return HexInt;
        return c == '.' ? HexDot0 : Dead;
    case HexInt:
        if (isHexDigit(c)) return HexInt;
        if (c == '.') return HexFrac;
        return isHexExp(c) ? HexExp : Dead;
    case HexDot0: return isHexDigit(c) ? HexFrac : Dead;
    case HexFrac:
        if (isHexDigit(c)) return HexFrac;
        return isHexExp(c) ? HexExp : Dead;
    case HexExp:
        if (isSign(c)) return HexExpSign;
        [[fallthrough]];
    case HexExpSign:
    case HexExpDigits: return isDigit(c) ? HexExpDigits : Dead;
    case Dead: break;
    }
    return Dead;
}

bool complete(State s) {
    return s == Zero || s == Int || s == Frac || s == ExpDigits || s == HexInt || s == HexFrac ||
           s == HexExpDigits;
}

// Length of the longest prefix of `word` that `s` starts with, ignoring case.
std::size_t wordPrefix(const char* s, const char* word) {
    std::size_t n = 0;
    while (word[n] && lower(s[n]) == word[n])
        ++n;
    return n;
}

// scanf takes the longest prefix of the input that could begin a number and
// fails unless that prefix is a whole number: "1e+" and "infin" fail rather
// than read as 1 and inf. Returns the length of the number at `s`, 0 if none;
// sets `special` for infinities (1) and NaNs (2).
std::size_t numberLength(const char* s, int& special) {
    special = 0;
    std::size_t signLength = isSign(s[0]) ? 1 : 0;
    const char* word = s + signLength;
    if (lower(word[0]) == 'i') {
        std::size_t n = wordPrefix(word, "infinity");
        special = 1;
        return (n == 3 || n == 8) ? signLength + n : 0;
    }
    if (lower(word[0]) == 'n') {
        std::size_t n = wordPrefix(word, "nan");
        special = 2;
        if (n != 3) return 0;
        if (word[3] != '(') return signLength + 3;
        std::size_t k = 4;
        while (isDigit(word[k]) || word[k] == '_' ||
               (lower(word[k]) >= 'a' && lower(word[k]) <= 'z'))
            ++k;
        return word[k] == ')' ? signLength + k + 1 : 0;
    }
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
// nearest float.
float toFloat(const char* s, std::size_t length, int special) {
    bool negative = s[0] == '-';
    if (special == 1) return negative ? -HUGE_VALF : HUGE_VALF;
    if (special == 2) return negative ? -NAN : NAN;
    // strtof reads the locale's decimal point: hand it that one.
    const char* point = localePoint();
    std::size_t pointLength = std::strlen(point);
    char text[512];
    std::size_t used = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (s[i] == '.') {
            if (used + pointLength >= sizeof text) return 0;
            std::memcpy(text + used, point, pointLength);
            used += pointLength;
        } else {
            if (used + 1 >= sizeof text) return 0;
            text[used++] = s[i];
        }
    }
    text[used] = '\0';
    return std::strtof(text, nullptr);
}

} // namespace

int formatPoseLine(char* out, std::size_t size, const char* format, const float* values) {
    if (size == 0) return -1;
    std::size_t used = 0;
    out[0] = '\0';
    for (const char* f = format; *f; ++f) {
        char piece[64];
        int length = 1;
        if (f[0] == '%' && f[1] == 'g') {
            length = formatG(piece, sizeof piece, *values++);
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

int scanPoseLine(const char* line, const char* format, float* values) {
    int count = 0;
    const char* s = line;
    for (const char* f = format; *f; ++f) {
        if (f[0] == '%' && f[1] == 'f') {
            ++f;
            while (isSpace(*s))
                ++s;
            int special = 0;
            std::size_t length = numberLength(s, special);
            if (length == 0) return count;
            *values++ = toFloat(s, length, special);
            ++count;
            s += length;
        } else if (*s == *f) {
            ++s;
        } else {
            return count;
        }
    }
    return count;
}
