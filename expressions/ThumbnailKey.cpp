#include "expressions/ThumbnailKey.h"

#include <cstdint>
#include <cstdio>

std::string thumbnailKey(const std::string& fileBytes, int width, int height) {
    // 64-bit FNV-1a: cheap, and collisions among a few hundred files are
    // vanishingly unlikely.
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : fileBytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char name[64];
    std::snprintf(name, sizeof name, "thumb-%016llx-%dx%d.bmp",
                  static_cast<unsigned long long>(hash), width, height);
    return name;
}
