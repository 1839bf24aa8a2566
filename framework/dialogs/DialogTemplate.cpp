#include "framework/dialogs/DialogTemplate.h"

#include <cstring>
#include <new>

namespace {

constexpr std::uint32_t SetFontStyle = 0x40;
constexpr std::uint32_t ChildStyle = 0x40000000;

std::size_t textBytes(const char* text) {
    return 2 * ((text ? std::strlen(text) : 0) + 1);
}

std::size_t textBytes(const std::u16string& text) {
    return 2 * (text.size() + 1);
}

std::size_t roundUp4(std::size_t length) {
    return (length + 3) & ~std::size_t(3);
}

} // namespace

void DialogTemplate::put16(std::size_t offset, int value) {
    block[offset] = std::uint8_t(value);
    block[offset + 1] = std::uint8_t(value >> 8);
}

void DialogTemplate::put32(std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        block[offset + i] = std::uint8_t(value >> (8 * i));
}

std::size_t DialogTemplate::putText(std::size_t offset, const char* text) {
    for (const char* c = text ? text : ""; *c; ++c, offset += 2)
        put16(offset, static_cast<unsigned char>(*c));
    put16(offset, 0);
    return offset + 2;
}

std::size_t DialogTemplate::putText(std::size_t offset, const std::u16string& text) {
    for (char16_t c : text) {
        put16(offset, c);
        offset += 2;
    }
    put16(offset, 0);
    return offset + 2;
}

bool DialogTemplate::begin(std::uint32_t style, int x, int y, int width, int height,
                           const char* menu, const char* windowClass, const std::u16string& title,
                           int pointSize, const char* fontName) {
    std::size_t length = roundUp4(22 + textBytes(menu) + textBytes(windowClass) + textBytes(title));
    if (style & SetFontStyle) length += 2 + textBytes(fontName);
    finished = false;
    try {
        block.assign(length, 0);
    } catch (const std::bad_alloc&) {
        block.clear();
        return false;
    }
    put32(0, std::uint32_t(length));
    put32(4, style);
    put32(8, 0);
    put16(12, 0);
    put16(14, x);
    put16(16, y);
    put16(18, width);
    put16(20, height);
    std::size_t at = putText(22, menu);
    at = putText(at, windowClass);
    at = putText(at, title);
    // The font follows the title directly; the padding of the strings ends up
    // after it.
    if (style & SetFontStyle) {
        put16(at, pointSize);
        putText(at + 2, fontName);
    }
    return true;
}

int DialogTemplate::used() const {
    if (block.size() < 4 || finished) return 0;
    return int(block[0] | block[1] << 8 | block[2] << 16 | std::uint32_t(block[3]) << 24);
}

int DialogTemplate::itemCount() const {
    std::size_t at = finished ? 8 : 12;
    return block.size() > at + 1 ? block[at] | block[at + 1] << 8 : 0;
}

int DialogTemplate::addItem(int x, int y, int width, int height, int id, std::uint32_t style,
                            const char* className, const std::u16string& title, int dataLength,
                            const void* data) {
    if (block.empty() || finished) return 0;
    std::size_t length = roundUp4(20 + textBytes(className) + textBytes(title) +
                                  std::size_t(dataLength > 0 ? dataLength : 0));
    std::size_t start = std::size_t(used());
    try {
        block.resize(block.size() + length, 0);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    put16(12, itemCount() + 1);
    bool combo = className && std::strcmp(className, "COMBOBOX") == 0;
    put32(start, style | ChildStyle);
    put32(start + 4, 0);
    put16(start + 8, x);
    put16(start + 10, y);
    put16(start + 12, width);
    put16(start + 14, combo ? height + 48 : height);
    put16(start + 16, id);
    std::size_t at = putText(start + 18, className);
    at = putText(at, title);
    put16(at, dataLength > 0 ? dataLength : 0);
    if (dataLength > 0 && data) std::memcpy(&block[at + 2], data, std::size_t(dataLength));
    put32(0, std::uint32_t(start + length));
    return int(start);
}

void DialogTemplate::setItemSize(int offset, int width, int height) {
    if (offset <= 0 || finished || std::size_t(offset) + 16 > block.size()) return;
    put16(std::size_t(offset) + 12, width);
    put16(std::size_t(offset) + 14, height);
}

void DialogTemplate::end(int width, int height) {
    if (block.size() < 22 || finished) return;
    put16(18, width);
    put16(20, height);
    std::memmove(block.data(), block.data() + 4, block.size() - 4);
    std::memset(block.data() + block.size() - 4, 0, 4);
    finished = true;
}

void DialogTemplate::clear() {
    block.clear();
    finished = false;
}
