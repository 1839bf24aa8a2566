// A small picture held as static pixel data (1, 8 or 24 bits per pixel),
// with the native bitmaps built on its first drawing.
#pragma once

#include <windows.h>

class vIcon {
  public:
    // `data` is static and never freed; see IconPixels for its layout.
    vIcon(const unsigned char* data, int height, int width, int depth, int transparent = 0);
    ~vIcon();
    vIcon(const vIcon&) = delete;
    vIcon& operator=(const vIcon&) = delete;

    // Builds `bitmap`, and `mask` for a transparent 8- or 24-bit icon; both
    // or neither. An 8-bit icon indexing past its palette builds nothing.
    void buildBitmap(HDC device);

    int transparent;
    int height;
    int width;
    int depth;
    const unsigned char* data;
    HBITMAP bitmap = nullptr; // with a mask: black where transparent
    HBITMAP mask = nullptr;   // black where transparent, white elsewhere

  private:
    void dropBitmaps();
};
