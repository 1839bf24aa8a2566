// The bytes of an in-memory dialog template: a header, then one item per
// control, each on a 4-byte boundary, in UTF-16: ASCII names widened here,
// titles given wide by the caller. While it is built the block carries a
// 4-byte prefix holding the bytes used. Needs no platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class DialogTemplate {
  public:
    // Starts the block; false when it cannot be allocated. The font point
    // size and name are written only when the style has the set-font bit 0x40.
    bool begin(std::uint32_t style, int x, int y, int width, int height, const char* menu,
               const char* windowClass, const std::u16string& title, int pointSize,
               const char* fontName);
    // Appends a control item; its offset in the block, or 0 when the block
    // cannot be enlarged.
    int addItem(int x, int y, int width, int height, int id, std::uint32_t style,
                const char* className, const std::u16string& title, int dataLength,
                const void* data);
    // Rewrites the width and height of the item at `offset`.
    void setItemSize(int offset, int width, int height);
    // Writes the final size and drops the prefix: the block then starts with
    // the style, as the platform's dialog manager wants it.
    void end(int width, int height);
    void clear();

    // The bytes used so far, prefix included (0 once ended).
    int used() const;
    int itemCount() const;
    bool ended() const { return finished; }
    const std::uint8_t* data() const { return block.data(); }
    std::size_t size() const { return block.size(); }
    bool empty() const { return block.empty(); }

  private:
    void put16(std::size_t offset, int value);
    void put32(std::size_t offset, std::uint32_t value);
    // Writes `text` with its terminator; the offset after it.
    std::size_t putText(std::size_t offset, const char* text);
    std::size_t putText(std::size_t offset, const std::u16string& text);

    std::vector<std::uint8_t> block;
    bool finished = false;
};
