#include "expressions/ThumbnailKey.h"

#include <cstdio>

std::uint64_t bytesHash(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string thumbnailKey(std::uint64_t bytesHash, int width, int height) {
    char name[64];
    std::snprintf(name, sizeof name, "thumb-%016llx-%dx%d.bmp",
                  static_cast<unsigned long long>(bytesHash), width, height);
    return name;
}
