// A drawing context on an off-screen bitmap of fixed size, kept for the
// context's lifetime and copied into other contexts with copyFromMemoryDC.
#pragma once

#include "framework/draw/vWinDC.h"

class vMemoryDC : public vWinDC {
  public:
    // A size of 0 takes the application's default window size.
    vMemoryDC(int width = 0, int height = 0);
    ~vMemoryDC() override;

    void clear() override { clearRect(0, 0, width, height); }
    void clearRect(int x, int y, int w, int h) override { fillBackground(x, y, w, h); }
    void setBackground(const vColor& color) override { background = color.packed; }
    void setFont(const vFont& value) override { font = value; }
    void beginDraw() override;
    void endDraw() override;

    HBITMAP bitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
};
