#include "animation/TimelinePane.h"

#include "framework/app/WindowMessage.h"
#include "framework/app/vApp.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* const className = "TavokTimeline";

// Rows of the strip, in pixels from its top.
constexpr int RulerTop = 4;
constexpr int LabelTop = 5;
constexpr int RulerBottom = 36;
constexpr int TracksBottom = TimelinePane::KeyTop + TrackCount * TimelinePane::RowHeight;
constexpr int TextTop = TimelinePane::SoundBottom + 2;
constexpr int PixelsPerLabel = 44;

void fill(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
    SetDCBrushColor(dc, color);
    RECT rect = {left, top, right, bottom};
    FillRect(dc, &rect, HBRUSH(GetStockObject(DC_BRUSH)));
}

void line(HDC dc, int x, int top, int bottom, COLORREF color) {
    fill(dc, x, top, x + 1, bottom, color);
}

void diamond(HDC dc, int x, int y, COLORREF color) {
    for (int d = -4; d <= 4; ++d)
        fill(dc, x - (4 - std::abs(d)), y + d, x + (4 - std::abs(d)) + 1, y + d + 1, color);
}

} // namespace

TimelinePane::TimelinePane(const Animation& animation, const int& playhead,
                           const int& selectedTrack, const int& selectedFrame)
    : vPane(PaneStatusBar), animation_(animation), playhead_(playhead),
      selectedTrack_(selectedTrack), selectedFrame_(selectedFrame) {}

TimelinePane::~TimelinePane() {
    if (theApp) theApp->removeCommandPane(this);
    releaseOffscreen();
    if (window_) {
        SetWindowLongPtrA(window_, 0, 0);
        DestroyWindow(window_);
    }
}

void TimelinePane::initialize(vWindow* owner, void* nativeHandle) {
    vPane::initialize(owner, nativeHandle);
    WNDCLASSA windowClass = {};
    if (!GetClassInfoA(theApp->instance(), className, &windowClass)) {
        windowClass.lpfnWndProc = windowProc;
        windowClass.cbWndExtra = sizeof(void*);
        windowClass.hInstance = theApp->instance();
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
    }
    window_ = CreateWindowExA(0, className, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 1, Height,
                              theApp->frameWindow, nullptr, theApp->instance(), this);
    theApp->addCommandPane(this);
}

void TimelinePane::showPane(int on) {
    if (bool(on) == shown_ || !window_) return;
    shown_ = on;
    showFor(active_ ? window : nullptr);
    RECT frame;
    GetWindowRect(theApp->frameWindow, &frame);
    int grow = on ? Height : -Height;
    SetWindowPos(theApp->frameWindow, nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top + grow, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(theApp->frameWindow, RelayoutMessage, 0, 0);
}

void TimelinePane::redraw() {
    if (window_) InvalidateRect(window_, nullptr, FALSE);
}

int TimelinePane::inLayout() {
    return shown_ && active_ && window_ && IsWindowVisible(window_);
}

void TimelinePane::showFor(vWindow* active) {
    active_ = active == window;
    if (window_) ShowWindow(window_, shown_ && active_ ? SW_SHOWNA : SW_HIDE);
}

RulerScale TimelinePane::scale() const {
    RECT client = {};
    GetClientRect(window_, &client);
    return {client.right - NameWidth, Margin, animation_.settings().length};
}

int TimelinePane::frameX(int frame) const {
    return NameWidth + scale().frameX(frame);
}

int TimelinePane::frameAt(int x) const {
    return scale().frameAt(x - NameWidth);
}

int TimelinePane::trackAt(int y) {
    return y < KeyTop || y >= TracksBottom ? -1 : (y - KeyTop) / RowHeight;
}

int TimelinePane::keyUnder(int track, int x) const {
    int best = -1, bestDistance = 6;
    for (const TrackKey& key : animation_.track(track).keys()) {
        int distance = std::abs(frameX(key.frame) - x);
        if (distance < bestDistance) {
            best = key.frame;
            bestDistance = distance;
        }
    }
    return best;
}

LRESULT CALLBACK TimelinePane::windowProc(HWND window, UINT code, WPARAM wParam, LPARAM lParam) {
    auto* creating =
        code == WM_NCCREATE
            ? static_cast<TimelinePane*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams)
            : nullptr;
    return dispatchMessage(windowObject(window, creating), {window, code, wParam, lParam},
                           [](const WindowMessage& m) {
                               return DefWindowProcA(m.window, m.code, m.wParam, m.lParam);
                           });
}

Handled TimelinePane::handleMessage(const WindowMessage& message) {
    switch (message.code) {
    case WM_PAINT: return handlePaint();
    case WM_ERASEBKGND: return handled(1);
    case WM_LBUTTONDOWN: return handleLeftDown(message);
    case WM_MOUSEMOVE: return handleMouseMove(message);
    case WM_LBUTTONUP: return handleLeftUp(message);
    case WM_CAPTURECHANGED: return handleCaptureLost();
    default: return NotHandled;
    }
}

bool TimelinePane::offscreen(HDC screen, int width) {
    if (memory_ && width <= bitmapWidth_) return true;
    releaseOffscreen();
    // A bitmap of the process's own memory: drawing into it needs no trip
    // to the display.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    memory_ = bitmap_ ? CreateCompatibleDC(screen) : nullptr;
    if (!memory_) {
        releaseOffscreen();
        return false;
    }
    oldBitmap_ = SelectObject(memory_, bitmap_);
    bitmapWidth_ = width;
    return true;
}

void TimelinePane::releaseOffscreen() {
    if (memory_) {
        SelectObject(memory_, oldBitmap_);
        DeleteDC(memory_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    memory_ = nullptr;
    bitmap_ = nullptr;
    bitmapWidth_ = 0;
}

Handled TimelinePane::handlePaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client;
    GetClientRect(window_, &client);
    // Drawn off screen and shown in one copy: scrubbing never flickers.
    if (offscreen(dc, std::max(1L, client.right))) {
        this->paint(memory_, client.right);
        BitBlt(dc, 0, 0, client.right, Height, memory_, 0, 0, SRCCOPY);
    }
    EndPaint(window_, &paint);
    return handled();
}

void TimelinePane::paint(HDC dc, int width) {
    const AnimationSettings& settings = animation_.settings();
    const COLORREF ink = RGB(0, 0, 0), tick = RGB(110, 110, 110), head = RGB(220, 0, 0);
    fill(dc, 0, 0, width, Height, GetSysColor(COLOR_BTNFACE));
    fill(dc, NameWidth + Margin - 4, RulerTop, width - Margin + 5, TracksBottom + 1,
         RGB(255, 255, 255));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    // A tick per frame where they fit, a longer one and a label per second.
    double spacing =
        double(std::max(1, width - NameWidth - 2 * Margin)) / std::max(1, settings.length - 1);
    int every = spacing >= 3 ? 1 : int(3 / spacing) + 1;
    int secondsPerLabel = std::max(1, int(PixelsPerLabel / (spacing * settings.fps)) + 1);
    for (int frame = 0; frame < settings.length; ++frame) {
        int x = frameX(frame);
        bool second = frame % settings.fps == 0;
        if (second && (frame / settings.fps) % secondsPerLabel == 0) {
            line(dc, x, LabelTop, RulerBottom, ink);
            std::string label = std::to_string(frame / settings.fps) + " s";
            TextOutA(dc, x + 3, LabelTop, label.c_str(), int(label.size()));
        } else if (second) {
            line(dc, x, RulerBottom - 12, RulerBottom, ink);
        } else if (frame % every == 0) {
            line(dc, x, RulerBottom - 6, RulerBottom, tick);
        }
    }
    fill(dc, NameWidth + Margin - 4, RulerBottom, width - Margin + 5, RulerBottom + 1, ink);
    paintTracks(dc, width);
    if (waveform)
        waveform->paint(dc, {NameWidth + Margin - 4, SoundTop, width - Margin + 5, SoundBottom},
                        NameWidth, scale(), settings.fps, animation_.sound().start);
    int x = frameX(playhead_);
    fill(dc, x - 1, RulerTop, x + 2, SoundBottom, head);
    // Frames count from 0, as POV-Ray numbers them: the last is length - 1.
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.2f s", double(playhead_) / settings.fps);
    std::string status = seconds + std::string("   frame ") + std::to_string(playhead_) + " of " +
                         std::to_string(settings.length);
    TextOutA(dc, Margin, TextTop, status.c_str(), int(status.size()));
    SelectObject(dc, oldFont);
}

void TimelinePane::paintTracks(HDC dc, int width) {
    const COLORREF ink = RGB(0, 0, 0), rule = RGB(200, 200, 200), mark = RGB(20, 60, 200),
                   selected = RGB(240, 140, 0), moving = RGB(110, 110, 110);
    for (int t = 0; t < TrackCount; ++t) {
        int top = rowTop(t), middle = top + RowHeight / 2;
        fill(dc, NameWidth + Margin - 4, top + RowHeight, width - Margin + 5, top + RowHeight + 1,
             rule);
        SetTextColor(dc, ink);
        TextOutA(dc, 4, top, trackKinds[t].name, int(std::strlen(trackKinds[t].name)));
        for (const TrackKey& key : animation_.track(t).keys()) {
            if (t == keyTrack_ && key.frame == keyFrom_) continue;
            bool chosen = t == selectedTrack_ && key.frame == selectedFrame_;
            diamond(dc, frameX(key.frame), middle, chosen ? selected : mark);
        }
        if (t == keyTrack_) diamond(dc, frameX(keyTo_), middle, moving);
    }
}

Handled TimelinePane::handleLeftDown(const WindowMessage& message) {
    if (onPress) onPress();
    pressed_ = true;
    SetCapture(window_);
    int track = trackAt(message.y());
    int key = track >= 0 ? keyUnder(track, message.x()) : -1;
    keyTrack_ = key >= 0 ? track : -1;
    keyFrom_ = keyTo_ = key;
    if (key >= 0 && onKeySelected) onKeySelected(track, key);
    if (key < 0 && onScrub) onScrub(frameAt(message.x()));
    return handled();
}

Handled TimelinePane::handleMouseMove(const WindowMessage& message) {
    if (!pressed_) return handled();
    if (!(message.wParam & MK_LBUTTON)) return handleLeftUp(message);
    int frame = frameAt(message.x());
    if (keyFrom_ < 0) {
        if (onScrub) onScrub(frame);
        return handled();
    }
    // Never onto another key of its row: the mark stays where it last could go.
    if (frame == keyFrom_ || !animation_.hasKey(frame, keyTrack_)) keyTo_ = frame;
    redraw();
    return handled();
}

Handled TimelinePane::handleCaptureLost() {
    // Our own release comes here too, after the drag was settled.
    if (!pressed_) return handled();
    pressed_ = false;
    keyTrack_ = keyFrom_ = keyTo_ = -1;
    redraw();
    return handled();
}

Handled TimelinePane::handleLeftUp(const WindowMessage&) {
    if (!pressed_) return handled();
    pressed_ = false;
    int track = keyTrack_, from = keyFrom_, to = keyTo_;
    keyTrack_ = keyFrom_ = keyTo_ = -1;
    ReleaseCapture();
    if (from >= 0 && to != from && onKeyMoved)
        onKeyMoved(track, from, to);
    else
        redraw();
    return handled();
}
