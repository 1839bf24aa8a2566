#include "animrender/FrameStamp.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const std::string pngSignature("\x89PNG\r\n\x1a\n", 8);
// The signature and the header chunk, which a PNG starts with.
constexpr std::size_t headerEnd = 8 + 8 + 13 + 4;
const std::string keyword = "TavokFace render";

std::uint32_t crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string bigEndian(std::uint32_t value) {
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

std::string chunk(const std::string& type, const std::string& data) {
    return bigEndian(std::uint32_t(data.size())) + type + data + bigEndian(crc32(type + data));
}

std::string fileBytes(const fs::path& path, std::size_t limit = std::string::npos) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    if (limit == std::string::npos) {
        std::stringstream whole;
        whole << in.rdbuf();
        return whole.str();
    }
    bytes.resize(limit);
    in.read(&bytes[0], std::streamsize(limit));
    bytes.resize(std::size_t(in.gcount()));
    return bytes;
}

std::string fileTail(const fs::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::streamoff size = in ? std::streamoff(in.tellg()) : 0;
    if (size < std::streamoff(PngEndSize)) return {};
    std::string bytes(PngEndSize, '\0');
    in.seekg(size - std::streamoff(PngEndSize));
    in.read(&bytes[0], std::streamsize(PngEndSize));
    return in ? bytes : std::string();
}

} // namespace

std::string renderStamp(const std::string& include, const FrameRender& render) {
    // 64-bit FNV-1a: a changed pose or setting changes it.
    std::uint64_t hash = 14695981039346656037u;
    std::string settings = std::to_string(render.width) + "x" + std::to_string(render.height) +
                           (render.antialias ? " antialiased\n" : "\n");
    for (unsigned char byte : settings + include)
        hash = (hash ^ byte) * 1099511628211u;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::string stampPng(const std::string& png, const std::string& stamp) {
    if (png.size() < headerEnd || png.compare(0, 8, pngSignature) != 0 ||
        png.compare(12, 4, "IHDR") != 0)
        return {};
    return png.substr(0, headerEnd) + chunk("tEXt", keyword + '\0' + stamp) + png.substr(headerEnd);
}

std::string pngStamp(const std::string& head) {
    std::string start =
        headerEnd <= head.size() ? head.substr(headerEnd, 8 + keyword.size() + 1) : std::string();
    if (start.size() < 8 || start.compare(4, 4, "tEXt") != 0 ||
        start.compare(8, std::string::npos, keyword + '\0') != 0)
        return {};
    std::uint32_t length = 0;
    for (int i = 0; i < 4; ++i)
        length = length << 8 | static_cast<unsigned char>(start[std::size_t(i)]);
    std::size_t from = headerEnd + 8 + keyword.size() + 1, size = length - keyword.size() - 1;
    if (length <= keyword.size() || from + size > head.size()) return {};
    return head.substr(from, size);
}

std::vector<int> framesToRender(const std::string& outDir, const FrameRender& render,
                                FrameRange frames, const std::string& stamp) {
    std::vector<int> missing;
    for (int frame = frames.first; frame <= frames.last; ++frame) {
        fs::path path =
            fs::u8path(outDir) / fs::u8path(frameFileName(render.stem, frame, render.lastFrame));
        if (pngStamp(fileBytes(path, PngStampSize)) != stamp || !endsPng(fileTail(path)))
            missing.push_back(frame);
    }
    return missing;
}

bool deliverFrame(const std::string& from, const std::string& to, const std::string& stamp,
                  std::string& error) {
    fs::path source = fs::u8path(from), stamped = fs::u8path(from + ".stamped");
    std::string png = stampPng(fileBytes(source), stamp);
    std::ofstream out(stamped, std::ios::binary | std::ios::trunc);
    out << png;
    out.close();
    std::error_code code;
    if (png.empty() || !out)
        error = "cannot write " + stamped.u8string() + (png.empty() ? ": not a PNG" : "");
    else if (fs::rename(stamped, fs::u8path(to), code); code)
        error = "cannot move " + from + " to " + to + ": " + code.message();
    else
        return fs::remove(source, code), true;
    fs::remove(stamped, code);
    return false;
}
