// Painting shared by the owner-drawn commands on the context of a draw-item
// record: 3-D edges, centred captions and icons. The context's state is
// saved when made and restored when done, and the brushes made are deleted.
#pragma once

#include <windows.h>

class vIcon;

class OwnerDrawing {
  public:
    explicit OwnerDrawing(HDC dc);
    ~OwnerDrawing();
    OwnerDrawing(const OwnerDrawing&) = delete;
    OwnerDrawing& operator=(const OwnerDrawing&) = delete;

    // A solid brush that lives as long as this drawing (one per drawing).
    HBRUSH solidBrush(COLORREF color);
    void select(HGDIOBJ object) { SelectObject(dc, object); }
    // Rectangle with the selected pen and brush.
    void fill(int left, int top, int right, int bottom) { Rectangle(dc, left, top, right, bottom); }
    // Two lines on each side; a sunk edge has the pens swapped.
    void raisedEdge(const RECT& r, HPEN topLeft, HPEN bottomRight);
    // The shadow pen along the top and left of a held-down button, down to `bottom`.
    void pressedEdge(const RECT& r, int bottom);
    // One line centred both ways.
    void caption(const char* text, RECT r);
    // A one-bit icon, or with `silhouette` any icon, puts the selected brush
    // where its pixels are set; other icons are copied, and the transparent
    // part of a masked one takes the selected brush. Bad icon data draws
    // nothing.
    void icon(vIcon& icon, int x, int y, bool silhouette = false);

    HDC dc;

  private:
    int saved;
    HBRUSH made = nullptr;
};
