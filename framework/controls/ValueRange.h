// The range of a slider or progress bar and the arithmetic on it, safe at
// the ends of int. Needs no platform.
#pragma once

#include <cstdint>

struct ValueRange {
    int lowest;
    int highest;

    int clamp(std::int64_t value) const {
        return value < lowest ? lowest : value > highest ? highest : int(value);
    }
    bool holds(int value) const { return value >= lowest && value <= highest; }
    // `value` moved by `step`, stopping at the ends.
    int moved(int value, int step) const { return clamp(std::int64_t(value) + step); }
    // The part of a bar `span` pixels long that stays empty at `value`.
    int emptyPart(int value, int span) const {
        if (value <= lowest) return span;
        if (value >= highest) return 0;
        std::int64_t filled = (std::int64_t(value) - lowest) * span;
        return span - int(filled / (std::int64_t(highest) - lowest));
    }
};

// A whole number as typed into a field: spaces around it, an optional minus
// sign, then digits; false for anything else and for numbers past int.
inline bool parseWhole(const char* text, int& value) {
    while (*text == ' ')
        ++text;
    bool negative = *text == '-';
    if (negative) ++text;
    std::int64_t number = 0;
    const char* digits = text;
    for (; *text >= '0' && *text <= '9'; ++text) {
        number = number * 10 + (*text - '0');
        if (number > std::int64_t(INT32_MAX) + 1) return false;
    }
    while (*text == ' ')
        ++text;
    if (text == digits || *text || (!negative && number > INT32_MAX)) return false;
    value = int(negative ? -number : number);
    return true;
}

// The range an `items` record of two ints declares: 0..100 when there is
// none or when its highest value is below its lowest.
inline ValueRange loadRange(const void* items) {
    if (!items) return {0, 100};
    const int* ends = static_cast<const int*>(items);
    if (ends[1] < ends[0]) return {0, 100};
    return {ends[0], ends[1]};
}
