#include "framework/app/TextCopy.h"

#include <cstring>

char* copyText(const char* text) {
    if (!text) text = "";
    std::size_t size = std::strlen(text) + 1;
    char* copy = new char[size];
    std::memcpy(copy, text, size);
    return copy;
}
