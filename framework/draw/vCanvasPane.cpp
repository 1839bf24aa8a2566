#include "framework/draw/vCanvasPane.h"

#include "framework/app/vApp.h"
#include "framework/app/vWindow.h"

int vCanvasPane::cursorCode = 1;

vCanvasPane::vCanvasPane(int kind) : vPane(kind) {
    cursorCode = 1;
}

vCanvasPane::~vCanvasPane() {
    delete dc;
}

void vCanvasPane::createDC() {
    if (!dc) dc = new vCanvasPaneDC(this);
}

void vCanvasPane::initialize(vWindow* owner, void* nativeHandle) {
    hShown = 100;
    hPos = 0;
    vShown = 100;
    vPos = 0;
    vPane::initialize(owner, nativeHandle);
    owner->canvasPane = this;
    hwnd = owner->nativeWindow;
    hasFocus = 0;
    if (theApp->singleWindow) {
        height = owner->height;
        width = owner->width;
    } else {
        RECT client = {};
        GetClientRect(hwnd, &client);
        height = client.bottom - client.top;
        width = client.right - client.left;
    }
    createDC();
    owner->height = height;
    owner->width = width;
    setHScroll(hShown, 0);
    setVScroll(vShown, 0);
    hScrollShown = 0;
    vScrollShown = 0;
    owner->setCursorKind(cursorCode);
    enterFocus();
    if (theApp->singleWindow) setWidthHeight(width, height);
}

void vCanvasPane::showPane(int on) {
    ShowWindow(hwnd, on ? SW_RESTORE : SW_MINIMIZE);
}

void vCanvasPane::setBar(Bar bar, int shown, int pos) {
    if (shown < 0 || shown > 100 || pos < 0 || pos > 100) return;
    bar.shown = shown;
    bar.pos = pos;
    // Setting a hidden bar would make the platform show it; it takes the
    // values when it is shown.
    if (bar.barShown) applyBar(bar);
}

void vCanvasPane::applyBar(Bar bar) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_PAGE | SIF_POS;
    info.nPage = UINT(bar.shown);
    info.nPos = bar.pos;
    SetScrollInfo(hwnd, bar.platformBar, &info, TRUE);
}

void vCanvasPane::setHScroll(int shown, int pos) {
    setBar(horizontal(), shown, pos);
}
void vCanvasPane::setVScroll(int shown, int pos) {
    setBar(vertical(), shown, pos);
}

void vCanvasPane::stepBar(Bar bar, int direction, bool isVertical) {
    int pos = bar.pos + (direction < 0 ? -1 : 1);
    if (pos < 0 || pos > 100) return;
    bar.pos = pos;
    if (isVertical)
        setVScroll(bar.shown, pos);
    else
        setHScroll(bar.shown, pos);
}

void vCanvasPane::hScrollStep(int direction) {
    stepBar(horizontal(), direction, false);
}
void vCanvasPane::vScrollStep(int direction) {
    stepBar(vertical(), direction, true);
}

int vCanvasPane::getVScroll(int& shown, int& pos) {
    shown = vShown;
    pos = vPos;
    return vScrollShown;
}

int vCanvasPane::getHScroll(int& shown, int& pos) {
    shown = hShown;
    pos = hPos;
    return hScrollShown;
}

void vCanvasPane::showBar(Bar bar, int on) {
    if (on && !bar.barShown) {
        bar.barShown = 1;
        ShowScrollBar(hwnd, bar.platformBar, TRUE);
        SetScrollRange(hwnd, bar.platformBar, 0, 100, FALSE);
        applyBar(bar);
    } else if (!on && bar.barShown) {
        bar.barShown = 0;
        ShowScrollBar(hwnd, bar.platformBar, FALSE);
    }
}

void vCanvasPane::showHScroll(int on) {
    showBar(horizontal(), on);
}
void vCanvasPane::showVScroll(int on) {
    showBar(vertical(), on);
}

void vCanvasPane::enterFocus() {
    if (hasFocus) return;
    hasFocus = 1;
    onEnterFocus();
}

void vCanvasPane::leaveFocus() {
    if (!hasFocus) return;
    hasFocus = 0;
    onLeaveFocus();
}

void vCanvasPane::paintEvent() {
    RECT update = {};
    if (GetUpdateRect(hwnd, &update, FALSE)) {
        dc->clearRect(update.left, update.top, update.right - update.left,
                      update.bottom - update.top);
        onRedraw(update.left, update.top, update.right - update.left, update.bottom - update.top);
    } else {
        onRedraw(0, 0, 0, 0);
    }
}

void vCanvasPane::sizeEvent(int newWidth, int newHeight) {
    height = newHeight;
    width = newWidth;
    window->height = newHeight;
    window->width = newWidth;
    onResize(newWidth, newHeight);
}

void vCanvasPane::scrollEvent(Bar bar, int code, int thumb, bool isVertical) {
    auto report = [&](int pos) {
        bar.pos = pos;
        if (isVertical)
            onVScroll(bar.shown, pos);
        else
            onHScroll(bar.shown, pos);
    };
    switch (code) {
    case SB_LINEUP: isVertical ? vScrollStep(-1) : hScrollStep(-1); break;
    case SB_LINEDOWN: isVertical ? vScrollStep(1) : hScrollStep(1); break;
    case SB_PAGEUP: report(bar.pos < 10 ? 0 : bar.pos - 10); break;
    case SB_PAGEDOWN: report(bar.pos > 90 ? 100 : bar.pos + 10); break;
    case SB_THUMBPOSITION: report(thumb); break;
    case SB_TOP: report(0); break;
    case SB_BOTTOM: report(100); break;
    default: break;
    }
}

void vCanvasPane::hScrollEvent(int code, int thumb) {
    scrollEvent(horizontal(), code, thumb, false);
}
void vCanvasPane::vScrollEvent(int code, int thumb) {
    scrollEvent(vertical(), code, thumb, true);
}

void vCanvasPane::setWidthHeight(int newWidth, int newHeight) {
    if (newWidth <= 0 || newHeight <= 0) return;
    height = newHeight;
    width = newWidth;
    window->height = newHeight;
    window->width = newWidth;
    if (theApp->singleWindow) {
        HWND frame = theApp->frameWindow;
        // The frame's border, caption and menu keep their present size,
        // however many lines the menu takes.
        RECT outer = {};
        RECT client = {};
        GetWindowRect(frame, &outer);
        GetClientRect(frame, &client);
        MoveWindow(frame, outer.left, outer.top, outer.right - outer.left + newWidth - client.right,
                   outer.bottom - outer.top + newHeight - client.bottom, TRUE);
        return;
    }
    RECT outer = {};
    GetWindowRect(hwnd, &outer);
    POINT corner = {outer.left, outer.top};
    ScreenToClient(GetParent(hwnd), &corner);
    MoveWindow(hwnd, corner.x, corner.y, newWidth, newHeight, TRUE);
}
