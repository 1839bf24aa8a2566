#include "render/RgbImage.h"

namespace {

std::uint32_t readLittle(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | std::uint8_t(bytes[at + i]);
    return value;
}

void putLittle(std::string& out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        out += char(value >> (8 * i) & 0xFF);
}

void putBig(std::string& out, std::uint32_t value) {
    for (int i = 3; i >= 0; --i)
        out += char(value >> (8 * i) & 0xFF);
}

std::uint32_t crc32(const std::string& bytes, std::size_t from) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        crc ^= std::uint8_t(bytes[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc >> 1 ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

void putChunk(std::string& out, const char* type, const std::string& data) {
    putBig(out, std::uint32_t(data.size()));
    std::size_t start = out.size();
    out += type;
    out += data;
    putBig(out, crc32(out, start));
}

} // namespace

bool RgbImage::readBmp(const std::string& bytes) {
    *this = RgbImage();
    if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0) return false;
    std::uint32_t offset = readLittle(bytes, 10, 4);
    std::int32_t w = std::int32_t(readLittle(bytes, 18, 4));
    std::int32_t h = std::int32_t(readLittle(bytes, 22, 4));
    int bits = int(readLittle(bytes, 28, 2));
    std::uint32_t compression = readLittle(bytes, 30, 4);
    bool bottomUp = h > 0;
    if (!bottomUp) h = -h;
    if ((bits != 24 && bits != 32) || (compression != 0 && compression != 3) || w <= 0 || h <= 0 ||
        w > 16384 || h > 16384)
        return false;
    std::size_t step = (std::size_t(w) * (bits / 8) + 3) / 4 * 4;
    if (offset > bytes.size() || (bytes.size() - offset) / step < std::size_t(h)) return false;
    width = w;
    height = h;
    rgb.resize(std::size_t(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        std::size_t row = offset + step * std::size_t(bottomUp ? h - 1 - y : y);
        for (int x = 0; x < w; ++x) {
            const char* from = &bytes[row + std::size_t(x) * (bits / 8)];
            std::uint8_t* to = &rgb[(std::size_t(y) * w + x) * 3];
            to[0] = std::uint8_t(from[2]);
            to[1] = std::uint8_t(from[1]);
            to[2] = std::uint8_t(from[0]);
        }
    }
    return true;
}

std::string RgbImage::bmpBytes() const {
    std::size_t step = (std::size_t(width) * 3 + 3) / 4 * 4;
    std::string out = "BM";
    putLittle(out, std::uint32_t(54 + step * height), 4);
    putLittle(out, 0, 4);
    putLittle(out, 54, 4);
    putLittle(out, 40, 4);
    putLittle(out, std::uint32_t(width), 4);
    putLittle(out, std::uint32_t(height), 4);
    putLittle(out, 1, 2);
    putLittle(out, 24, 2);
    for (int i = 0; i < 6; ++i)
        putLittle(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = pixel(x, y);
            out += {char(p[2]), char(p[1]), char(p[0])};
        }
        out.append(step - std::size_t(width) * 3, '\0');
    }
    return out;
}

std::string RgbImage::pngBytes() const {
    std::string header;
    putBig(header, std::uint32_t(width));
    putBig(header, std::uint32_t(height));
    header += {8, 2, 0, 0, 0}; // 8 bits, RGB, deflate, no filter choice, no interlace
    // Each row: filter byte 0, then its pixels.
    std::string raw;
    std::size_t rowBytes = std::size_t(width) * 3;
    for (int y = 0; y < height; ++y) {
        raw += '\0';
        raw.append(reinterpret_cast<const char*>(pixel(0, y)), rowBytes);
    }
    std::string data = {0x78, 0x01};
    for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        std::size_t size = raw.size() - at < 65535 ? raw.size() - at : 65535;
        data += char(at + size == raw.size() ? 1 : 0);
        putLittle(data, std::uint32_t(size), 2);
        putLittle(data, std::uint32_t(~size & 0xFFFF), 2);
        data.append(raw, at, size);
        if (raw.empty()) break;
    }
    std::uint32_t a = 1, b = 0;
    for (char c : raw) {
        a = (a + std::uint8_t(c)) % 65521;
        b = (b + a) % 65521;
    }
    putBig(data, b << 16 | a);
    std::string out = "\x89PNG\r\n\x1a\n";
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", data);
    putChunk(out, "IEND", "");
    return out;
}
