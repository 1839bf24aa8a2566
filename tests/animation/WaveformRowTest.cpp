// The strip's waveform row drawn into a memory bitmap: to the ruler's
// scale from the sound's start frame, silence a flat line, a loud stretch
// its full height, nothing where there is no sound.
#include "animation/WaveformRow.h"

#include <gtest/gtest.h>

TEST(WaveformRowTest, DrawsTheSoundToTheRulersScaleFromItsStart) {
    // 2 s at 1000 Hz: a silent second, then a square wave of 0.8.
    Samples samples(2000, 0.0f);
    for (int i = 1000; i < 2000; ++i)
        samples[std::size_t(i)] = i % 2 ? 0.8f : -0.8f;
    SoundClip clip(1000, {samples});
    WaveformRow row;
    row.setClip(&clip);

    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, 220, -41, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    // 100 frames at 25 fps over 200 pixels from x 10; the sound starts at
    // frame 25 (x 60), turns loud at frame 50 (x 110), ends at 75 (x 160).
    RECT band = {0, 0, 220, 41};
    for (int paint = 0; paint < 2; ++paint)
        row.paint(dc, band, 0, RulerScale{220, 10, 101}, 25, 25);
    COLORREF background = GetPixel(dc, 5, 5);
    for (int x = 10; x < 210; ++x) {
        if (std::abs(x - 60) <= 1 || std::abs(x - 110) <= 1 || std::abs(x - 160) <= 1) continue;
        bool sound = x > 60 && x<160, loud = x> 110 && x < 160;
        // The middle row is 20, full scale 19 pixels either side of it.
        EXPECT_EQ(GetPixel(dc, x, 20) != background, sound) << "x " << x;
        EXPECT_EQ(GetPixel(dc, x, 5) != background, loud) << "x " << x;
        EXPECT_EQ(GetPixel(dc, x, 35) != background, loud) << "x " << x;
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
