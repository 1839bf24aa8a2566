// The drawing context of a canvas pane: draws into the pane's window through
// a device context obtained around each operation (or the paint one).
#pragma once

#include "framework/draw/vWinDC.h"

class vCanvasPane;

class vCanvasPaneDC : public vWinDC {
  public:
    explicit vCanvasPaneDC(vCanvasPane* pane);

    void clear() override;
    void clearRect(int x, int y, int w, int h) override { fillBackground(x, y, w, h); }
    // Repaints the pane in the new colour.
    void setBackground(const vColor& color) override;
    void setFont(const vFont& value) override;
    void beginDraw() override;
    void beginPaintEvent() override;
    void endPaintEvent() override;
    void endDraw() override;

    vCanvasPane* pane;
    HWND hwnd;

  private:
    bool caretHidden = false;
};
