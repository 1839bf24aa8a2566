#include "framework/draw/vCanvasPaneDC.h"

#include "framework/draw/vCanvasPane.h"

vCanvasPaneDC::vCanvasPaneDC(vCanvasPane* pane) : pane(pane), hwnd(pane->hwnd) {}

void vCanvasPaneDC::clear() {
    RECT client = {};
    GetClientRect(hwnd, &client);
    fillBackground(client.left, client.top, client.right - client.left, client.bottom - client.top);
}

void vCanvasPaneDC::setBackground(const vColor& color) {
    background = color.packed;
    clear();
    pane->onRedraw(0, 0, 0, 0);
}

void vCanvasPaneDC::setFont(const vFont& value) {
    font = value;
    pane->onFontChanged(font);
}

void vCanvasPaneDC::beginDraw() {
    if (paintHdc) {
        hdc = paintHdc;
        return;
    }
    HideCaret(hwnd);
    caretHidden = true;
    hdc = GetDC(hwnd);
}

void vCanvasPaneDC::endDraw() {
    // The caret is shown again whenever it was hidden, even when no context
    // came, so its hide count stays balanced.
    if (!caretHidden) return;
    caretHidden = false;
    ShowCaret(hwnd);
    if (hdc) ReleaseDC(hwnd, hdc);
    hdc = nullptr;
}

void vCanvasPaneDC::beginPaintEvent() {
    paintHdc = BeginPaint(hwnd, &paintRecord);
}

void vCanvasPaneDC::endPaintEvent() {
    EndPaint(hwnd, &paintRecord);
    paintHdc = nullptr;
}
