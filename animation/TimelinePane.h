// The timeline strip under the face: a ruler in seconds with a tick per
// frame, a mark for each key, the playhead and a line such as
// "1.20 s   frame 30 of 100", with the sound's waveform in a row of its own. A bar of the frame,
// laid out with the others; showing it grows the frame by its height, so the face keeps its size.
// Presses on the ruler move the playhead; a key's mark drags to another frame.
#pragma once

#include "animation/Animation.h"
#include "animation/RulerScale.h"
#include "animation/WaveformRow.h"
#include "framework/app/vBar.h"
#include "framework/app/vPane.h"

#include <functional>

struct WindowMessage;
struct Handled;

class TimelinePane : public vPane, public vBar {
  public:
    static constexpr int Height = 102;
    static constexpr int Margin = 10;

    // `animation` and `playhead` are read at every drawing and must outlive
    // the pane.
    TimelinePane(const Animation& animation, const int& playhead);
    ~TimelinePane() override;

    void initialize(vWindow* owner, void* nativeHandle) override;
    void showPane(int on) override;
    bool isShown() const { return shown_; }
    // Draws the timeline as it is then once the program is idle: the face
    // is drawn first, and a burst of changes paints the strip once.
    void redraw();
    // The client x of `frame` and the ruler's band of key marks, for input.
    int frameX(int frame) const;
    static constexpr int KeyTop = 40;
    static constexpr int KeyBottom = 50;
    static constexpr int WaveTop = 56;
    static constexpr int WaveBottom = 80;

    // The sound's row, drawn at the animation's sound start; none: nullptr.
    WaveformRow* waveform = nullptr;

    int inLayout() override;
    int atBottom() override { return 1; }
    int barHeight() override { return Height; }
    HWND barWindow() override { return window_; }
    void placed(int) override {}
    void showFor(vWindow* active) override;

    // A press anywhere, before what it does (playback stops).
    std::function<void()> onPress;
    // A press or drag on the ruler chose this frame.
    std::function<void(int frame)> onScrub;
    // A key's mark was dragged from one frame to another.
    std::function<void(int from, int to)> onKeyMoved;

    Handled handleMessage(const WindowMessage& message);

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT code, WPARAM wParam, LPARAM lParam);
    Handled handlePaint();
    Handled handleLeftDown(const WindowMessage& message);
    Handled handleMouseMove(const WindowMessage& message);
    Handled handleLeftUp(const WindowMessage& message);
    // Another window took the mouse: a key drag ends where it began.
    Handled handleCaptureLost();
    void paint(HDC dc, int width);
    // The off-screen strip at least `width` wide; false if none can be made.
    bool offscreen(HDC screen, int width);
    void releaseOffscreen();
    RulerScale scale() const;
    // The frame of the key mark under (x, y), or -1.
    int keyUnder(int x, int y) const;

    const Animation& animation_;
    const int& playhead_;
    HWND window_ = nullptr;
    // The strip is drawn here, then shown in one copy: kept between paints,
    // since making a bitmap costs more than drawing the strip.
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    int bitmapWidth_ = 0;
    bool shown_ = false;
    bool active_ = false;
    bool pressed_ = false;
    int keyFrom_ = -1; // the key being dragged
    int keyTo_ = -1;   // where it would go
};
