#include "animrender/GifTiming.h"

#include <functional>

namespace {

const char loopBlock[] = "\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00";
constexpr std::size_t loopBlockSize = sizeof loopBlock - 1;

unsigned byteAt(const std::string& bytes, std::size_t at) {
    return at < bytes.size() ? (unsigned char)bytes[at] : 0;
}

// The size of a colour table that `packed` announces, or 0.
std::size_t tableSize(unsigned packed) {
    return packed & 0x80 ? 3u << ((packed & 7) + 1) : 0;
}

// The position after the sub-blocks starting at `at`, or 0 past the end.
std::size_t skipSubBlocks(const std::string& bytes, std::size_t at) {
    for (; at < bytes.size(); at += 1 + byteAt(bytes, at))
        if (byteAt(bytes, at) == 0) return at + 1;
    return 0;
}

// Calls `block` with each block's kind (0x2C image, or the extension's
// label) and position; returns the end of the header (before the first
// block), or 0 when the bytes are no whole GIF.
std::size_t walk(const std::string& bytes,
                 const std::function<void(unsigned, std::size_t)>& block) {
    if (bytes.size() < 13 || bytes.compare(0, 3, "GIF") != 0) return 0;
    std::size_t header = 13 + tableSize(byteAt(bytes, 10));
    for (std::size_t at = header; at < bytes.size();) {
        unsigned kind = byteAt(bytes, at);
        if (kind == 0x3B) return header;
        std::size_t next = 0;
        if (kind == 0x21) {
            block(byteAt(bytes, at + 1), at);
            next = skipSubBlocks(bytes, at + 2);
        } else if (kind == 0x2C) {
            block(kind, at);
            next = skipSubBlocks(bytes, at + 11 + tableSize(byteAt(bytes, at + 9)));
        }
        if (next == 0) return 0;
        at = next;
    }
    return 0;
}

bool isLoopBlock(const std::string& bytes, std::size_t at) {
    return bytes.compare(at + 2, 12, std::string(loopBlock + 2, 12)) == 0;
}

} // namespace

bool readGifTiming(const std::string& bytes, GifTiming& timing) {
    GifTiming read;
    int delay = 0;
    bool found = walk(bytes, [&](unsigned kind, std::size_t at) {
        if (kind == 0xF9) delay = int(byteAt(bytes, at + 4) | byteAt(bytes, at + 5) << 8);
        if (kind == 0xFF && isLoopBlock(bytes, at)) read.loops = true;
        if (kind == 0x2C) read.delays.push_back(delay), delay = 0;
    });
    if (found) timing = read;
    return found;
}

bool setGifTiming(std::string& bytes, const std::vector<int>& delays) {
    std::vector<std::size_t> images, controls; // a control's image follows it
    bool loops = false;
    std::size_t header = walk(bytes, [&](unsigned kind, std::size_t at) {
        if (kind == 0xF9) controls.push_back(at);
        if (kind == 0xFF && isLoopBlock(bytes, at)) loops = true;
        if (kind == 0x2C) {
            if (controls.size() < images.size() + 1) controls.push_back(std::string::npos);
            images.push_back(at);
        }
    });
    if (header == 0 || images.size() != delays.size()) return false;
    // Built once, in order: inserting into the middle would copy the rest
    // for every image.
    std::string out;
    out.reserve(bytes.size() + loopBlockSize + 8 * images.size());
    out.append(bytes, 0, header);
    if (!loops) out.append(loopBlock, loopBlockSize);
    std::size_t copied = header;
    for (std::size_t i = 0; i < images.size(); ++i) {
        char low = char(delays[i] & 0xFF), high = char(delays[i] >> 8 & 0xFF);
        if (controls[i] != std::string::npos) {
            bytes[controls[i] + 4] = low;
            bytes[controls[i] + 5] = high;
            continue;
        }
        out.append(bytes, copied, images[i] - copied);
        // Nothing disposed: each full frame covers the last.
        out += std::string{'\x21', '\xF9', '\x04', '\x04', low, high, 0, 0};
        copied = images[i];
    }
    out.append(bytes, copied, std::string::npos);
    bytes.swap(out);
    bytes.replace(0, 6, "GIF89a");
    return true;
}
