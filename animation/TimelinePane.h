// The timeline strip under the face: a ruler in seconds with a tick per
// frame, a row per track with its name and a mark for each of its keys, a
// row with the sound's waveform, the playhead and a line such as
// "1.20 s   frame 30 of 100". A bar of the frame, laid out with the others;
// showing it grows the frame by its height, so the face keeps its size.
// Presses on the ruler move the playhead; a press on a key's mark selects
// it, and a drag moves it along its own row.
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
    static constexpr int Height = 132;
    static constexpr int Margin = 10;
    // The column of the tracks' names left of the ruler.
    static constexpr int NameWidth = 40;

    // `animation`, `playhead` and the selected key (its track, -1 for none,
    // and frame) are read at every drawing and must outlive the pane.
    TimelinePane(const Animation& animation, const int& playhead, const int& selectedTrack,
                 const int& selectedFrame);
    ~TimelinePane() override;

    void initialize(vWindow* owner, void* nativeHandle) override;
    void showPane(int on) override;
    bool isShown() const { return shown_; }
    // Draws the timeline as it is then once the program is idle: the face
    // is drawn first, and a burst of changes paints the strip once.
    void redraw();
    // The client x of `frame`, and the frame whose tick is nearest to `x`.
    int frameX(int frame) const;
    int frameAt(int x) const;
    // The rows of the tracks' key marks, from the top in track order.
    static constexpr int KeyTop = 38;
    static constexpr int RowHeight = 14;
    static int rowTop(int track) { return KeyTop + track * RowHeight; }
    // The row under the tracks kept for the sound.
    static constexpr int SoundTop = KeyTop + TrackCount * RowHeight + 2;
    static constexpr int SoundBottom = SoundTop + 32;

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
    // A press on a key's mark.
    std::function<void(int track, int frame)> onKeySelected;
    // A key's mark was dragged from one frame to another of its row.
    std::function<void(int track, int from, int to)> onKeyMoved;

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
    // The ruler right of the names, in its own x.
    RulerScale scale() const;
    void paintTracks(HDC dc, int width);
    // The track of the row at `y`, or -1.
    static int trackAt(int y);
    // The frame of `track`'s key mark near `x`, or -1.
    int keyUnder(int track, int x) const;

    const Animation& animation_;
    const int& playhead_;
    const int& selectedTrack_;
    const int& selectedFrame_;
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
    int keyTrack_ = -1; // the key being dragged: its track,
    int keyFrom_ = -1;  // its frame
    int keyTo_ = -1;    // and where it would go
};
