// Drawing contexts, pens, brushes, fonts and icons, checked by the pixels
// they leave in memory bitmaps.
#include "framework/app/vApp.h"
#include "framework/draw/GdiTally.h"
#include "framework/draw/vIcon.h"
#include "framework/draw/vMemoryDC.h"
#include "tests/framework/Pixels.h"
#include "tests/framework/Recorders.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t Black = 0x000000;
constexpr uint32_t Red = 0x0000FF;
constexpr uint32_t Blue = 0xFF0000;

// A white memory context with a black pen and a red solid brush.
struct Canvas : vMemoryDC {
    explicit Canvas(int size = 100) : vMemoryDC(size, size) {
        clear();
        setBrush(vBrush(255, 0, 0));
    }
};

TEST(Shapes, EllipseFillsInsideItsBox) {
    Canvas dc;
    dc.drawEllipse(10, 10, 40, 20);
    Pixels p(dc);
    EXPECT_EQ(p.extent(), (Box{10, 10, 49, 29}));
    expectSpots(p, {{30, 20, Red}, {10, 20, Black}, {11, 11, White}});
}

TEST(Shapes, RectangleIncludesItsRightAndBottomEdge) {
    Canvas dc;
    dc.drawRectangle(10, 10, 20, 10);
    Pixels p(dc);
    EXPECT_EQ(p.extent(), (Box{10, 10, 30, 20}));
    EXPECT_EQ(p.at(30, 20), Black);
    EXPECT_EQ(p.at(20, 15), Red);
}

TEST(Shapes, OnePixelRectangleTakesTheBrushColourAndZeroSizesDrawNothing) {
    Canvas dc;
    dc.drawRectangle(10, 10, 1, 1);
    dc.drawRectangle(40, 40, 0, 5);
    dc.drawRectangle(40, 40, 5, 0);
    dc.drawEllipse(60, 60, 0, 9);
    dc.drawRoundedRectangle(60, 60, 9, 0, 3);
    Pixels p(dc);
    EXPECT_EQ(p.extent(), (Box{10, 10, 10, 10}));
    EXPECT_EQ(p.at(10, 10), Red);
}

TEST(Shapes, RectanglesSkipOnlyTheEmptyOnes) {
    Canvas dc;
    const int rects[] = {5, 5, 0, 0, 10, 10, 0, 20, 30, 30, 1, 1};
    dc.drawRectangles(rects, 3);
    Pixels p(dc);
    // The zero-width one becomes a vertical line.
    expectSpots(p,
                {{10, 10, Black}, {10, 30, Black}, {11, 20, White}, {5, 5, White}, {30, 30, Red}});
    EXPECT_EQ(p.extent(), (Box{10, 10, 30, 30}));
}

TEST(Shapes, NegativeRadiusGivesCornersOfTheSizeOverTwiceK) {
    Canvas byRule, direct, other;
    byRule.drawRoundedRectangle(0, 0, 100, 60, -4);
    direct.drawRoundedRectangle(0, 0, 100, 60, 20);
    other.drawRoundedRectangle(0, 0, 100, 60, 10);
    EXPECT_TRUE(Pixels(byRule) == Pixels(direct));
    EXPECT_FALSE(Pixels(byRule) == Pixels(other));
    EXPECT_EQ(Pixels(byRule).at(0, 0), White);
    EXPECT_EQ(Pixels(byRule).at(50, 30), Red);
}

TEST(Shapes, LinesPointsAndPolylines) {
    Canvas dc;
    dc.drawLine(5, 5, 50, 5);
    dc.drawPoint(20, 20);
    const int segments[] = {5, 40, 15, 40, 5, 42, 15, 42};
    dc.drawLines(segments, 2);
    const int path[] = {60, 60, 70, 60, 70, 70};
    dc.drawPolyline(path, 3);
    dc.drawPolyline(path, 1);
    Pixels p(dc);
    // The end point of a line is not drawn.
    const Spot spots[] = {{5, 5, Black},   {49, 5, Black},  {50, 5, White},  {20, 20, Black},
                          {21, 21, White}, {10, 40, Black}, {10, 42, Black}, {10, 41, White},
                          {65, 60, Black}, {70, 65, Black}, {65, 65, White}};
    expectSpots(p, spots);
}

TEST(Shapes, PolygonUsesAllButTheLastPoint) {
    Canvas dc;
    const int triangle[] = {10, 10, 50, 10, 10, 50, 10, 10};
    dc.drawPolygon(4, triangle, FillAlternate);
    Pixels p(dc);
    EXPECT_EQ(p.at(15, 15), Red);
    EXPECT_EQ(p.at(45, 45), White);
    Canvas line;
    line.drawPolygon(2, triangle, FillAlternate); // one corner is no outline
    EXPECT_EQ(Pixels(line).extent(), (Box{-1, -1, -1, -1}));
}

TEST(Shapes, PolygonFillRules) {
    // A pentagram: its centre is filled by winding, left empty alternately.
    const int star[] = {50, 5, 79, 95, 2, 39, 98, 39, 21, 95, 50, 5};
    Canvas alternate, winding;
    alternate.drawPolygon(6, star, FillAlternate);
    winding.drawPolygon(6, star, 0);
    EXPECT_EQ(Pixels(alternate).at(50, 50), White);
    EXPECT_EQ(Pixels(winding).at(50, 50), Red);
}

TEST(Shapes, ColorPointsSkipNegativeColumnsAndRows) {
    Canvas dc;
    const vColor run[] = {{255, 0, 0}, {0, 0, 255}, {0, 255, 0}};
    dc.drawColorPoints(-1, 3, 3, run);
    dc.drawColorPoints(0, -1, 3, run);
    Pixels p(dc);
    EXPECT_EQ(p.at(0, 3), Blue);
    EXPECT_EQ(p.at(1, 3), 0x00FF00u);
    EXPECT_EQ(p.extent(), (Box{0, 3, 1, 3}));
}

// Rows of three pixels take the platform's padding to whole words.
TEST(Shapes, ImageKeepsItsColoursAndRowsFromTheTop) {
    Canvas dc;
    const std::uint8_t rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 0, 0, 0, 40, 50, 60};
    dc.drawImage(5, 7, 3, 2, rgb);
    Pixels p(dc);
    const Spot spots[] = {{5, 7, Red},      {6, 7, 0x00FF00}, {7, 7, Blue},
                          {5, 8, 0x1E140A}, {6, 8, Black},    {7, 8, 0x3C3228}};
    expectSpots(p, spots);
    EXPECT_EQ(p.extent(), (Box{5, 7, 7, 8}));
}

TEST(Scaling, ScalesShapesButNotClearingOrCopying) {
    Canvas dc;
    dc.setScale(2, 1);
    EXPECT_EQ(dc.scaled, 1);
    dc.drawRectangle(5, 5, 10, 10);
    EXPECT_EQ(Pixels(dc).extent(), (Box{10, 10, 30, 30}));
    dc.clearRect(0, 0, 20, 20);
    Pixels cleared(dc);
    EXPECT_EQ(cleared.at(19, 19), White);
    EXPECT_EQ(cleared.at(20, 20), Red);

    Canvas lines;
    lines.setScale(2, 1);
    lines.drawLine(5, 5, 20, 5);
    lines.drawEllipse(10, 20, 10, 10);
    EXPECT_EQ(Pixels(lines).extent(), (Box{10, 10, 39, 59}));

    Canvas source(20);
    source.setBackground(vColor(0, 0, 255));
    source.clear();
    Canvas target;
    target.setScale(2, 1);
    target.copyFromMemoryDC(&source, 10, 10, 0, 0, 0, 0);
    EXPECT_EQ(Pixels(target).extent(), (Box{10, 10, 29, 29}));

    dc.setScale(1, 1);
    EXPECT_EQ(dc.scaled, 0);
    dc.setScale(3, 0); // refused: it would divide by zero
    EXPECT_EQ(dc.scaled, 0);
    EXPECT_EQ(dc.scale(7), 7);
}

TEST(Copying, MemoryContextOfSizeZeroTakesTheApplicationsDefaultSize) {
    vMemoryDC dc(0, 40);
    EXPECT_EQ(dc.width, theApp->defaultWidth);
    EXPECT_EQ(dc.height, 40);
    EXPECT_GT(dc.width, 0);
}

TEST(Copying, WholeBlockWhenTheSizeIsZero) {
    vMemoryDC source(300, 300);
    source.setBackground(vColor(0, 0, 255));
    source.clear();
    Canvas target(400);
    target.copyFromMemoryDC(&source, 0, 0, 0, 0, 0, 0);
    Pixels p(target);
    EXPECT_EQ(p.extent(), (Box{0, 0, 299, 299}));
    EXPECT_EQ(p.at(299, 299), Blue);
    EXPECT_EQ(p.at(300, 300), White);
    // Clipped to the destination when it is smaller.
    Canvas small(50);
    small.copyFromMemoryDC(&source, 20, 30, 0, 0, 0, 0);
    EXPECT_EQ(Pixels(small).extent(), (Box{20, 30, 49, 49}));
}

TEST(Copying, WithinOneBufferMovesThePictureAndKeepsTheContextUsable) {
    int live = GdiTally::live;
    {
        Canvas dc;
        dc.drawRectangle(10, 10, 1, 1);
        dc.copyFromMemoryDC(&dc, 30, 0, 0, 0, 20, 20);
        dc.drawRectangle(70, 70, 1, 1);
        Pixels p(dc);
        EXPECT_EQ(p.at(40, 10), Red);
        EXPECT_EQ(p.at(10, 10), Red);
        EXPECT_EQ(p.at(70, 70), Red) << "drawing still reaches the buffer";
        EXPECT_EQ(p.count(Red), 3);
    }
    EXPECT_EQ(GdiTally::live, live) << "the bitmap could be freed";
}

TEST(Brushes, HatchesMixColourAndBackgroundTransparentFillsNothing) {
    Canvas dc;
    dc.setBrush(vBrush(0, 0, 255, BrushHorizontalHatch));
    dc.drawRectangle(10, 10, 40, 40);
    Pixels hatched(dc);
    int blue = 0, white = 0;
    for (int y = 12; y < 48; ++y) {
        blue += hatched.at(30, y) == Blue;
        white += hatched.at(30, y) == White;
    }
    EXPECT_GT(blue, 2);
    EXPECT_GT(white, 20);

    Canvas under;
    under.drawRectangle(10, 10, 40, 40);
    under.setBrush(vBrush(0, 0, 255, BrushTransparent));
    under.drawEllipse(0, 0, 60, 60);
    Pixels p(under);
    EXPECT_EQ(p.at(30, 30), Red);
    EXPECT_EQ(p.at(0, 30), Black);

    Canvas zero, one;
    zero.setBrush(vBrush(0, 0, 255, 0));
    zero.drawRectangle(10, 10, 40, 40);
    one.setBrush(vBrush(0, 0, 255, BrushSolid));
    one.drawRectangle(10, 10, 40, 40);
    EXPECT_TRUE(Pixels(zero) == Pixels(one));
}

TEST(Pens, PatternedPensDrawOnePixelWide) {
    Canvas dc;
    dc.setPen(vPen(0, 0, 0, 5, PenDash));
    dc.drawLine(0, 50, 100, 50);
    Pixels p(dc);
    EXPECT_EQ(p.extent(), (Box{0, 50, 99, 50}));
    EXPECT_GT(p.count(White), 100 * 100 - 100) << "dashes leave gaps";

    Canvas wide;
    wide.setPen(vPen(0, 0, 0, 5, PenSolid));
    wide.drawLine(10, 50, 90, 50);
    Box box = Pixels(wide).extent();
    EXPECT_EQ(box[3] - box[1], 4);

    Canvas none;
    none.setPen(vPen(0, 0, 0, 3, PenTransparent));
    none.drawLine(10, 50, 90, 50);
    EXPECT_EQ(Pixels(none).extent(), (Box{-1, -1, -1, -1}));
}

TEST(Pens, RubberShapesInvertAndUndoThemselves) {
    Canvas dc;
    dc.drawRectangle(10, 10, 40, 40);
    Pixels before(dc);
    dc.drawRubberLine(0, 30, 100, 30);
    Pixels inverted(dc);
    EXPECT_EQ(inverted.at(5, 30), Black);      // white turned black
    EXPECT_EQ(inverted.at(30, 30), 0xFFFF00u); // red turned cyan
    dc.drawRubberLine(0, 30, 100, 30);
    dc.drawRubberRectangle(5, 5, 60, 60);
    dc.drawRubberRectangle(5, 5, 60, 60);
    dc.drawRubberEllipse(5, 5, 60, 60);
    dc.drawRubberEllipse(5, 5, 60, 60);
    dc.drawRubberPoint(70, 70);
    dc.drawRubberPoint(70, 70);
    EXPECT_TRUE(Pixels(dc) == before);
}

TEST(Caching, NativeObjectsAreMadeOnceAndAgainOnlyAfterARealChange) {
    Canvas dc;
    dc.drawLine(0, 0, 10, 10);
    dc.drawEllipse(0, 0, 10, 10);
    HPEN pen = dc.pen.native;
    HBRUSH brush = dc.brush.native;
    ASSERT_NE(pen, nullptr);
    ASSERT_NE(brush, nullptr);
    for (int i = 0; i < 200; ++i)
        dc.drawEllipse(i % 90, 5, 10, 10);
    EXPECT_EQ(dc.pen.native, pen);
    EXPECT_EQ(dc.brush.native, brush);
    dc.pen.setWidth(1); // unchanged
    dc.brush.setColor(vColor(255, 0, 0));
    EXPECT_EQ(dc.pen.native, pen);
    EXPECT_EQ(dc.brush.native, brush);
    dc.pen.setWidth(3);
    dc.brush.setStyle(BrushCrossHatch);
    EXPECT_EQ(GetObjectType(pen), 0u) << "the old pen was deleted";
    EXPECT_EQ(GetObjectType(brush), 0u);
    dc.drawEllipse(0, 0, 10, 10);
    EXPECT_EQ(GetObjectType(dc.pen.native), DWORD(OBJ_PEN));
    EXPECT_EQ(GetObjectType(dc.brush.native), DWORD(OBJ_BRUSH));

    vPen copy(dc.pen);
    EXPECT_EQ(copy.native, nullptr) << "a copy never shares the native pen";
    copy = dc.pen;
    EXPECT_EQ(copy.native, nullptr);
    vFont font(FontSans, 12);
    dc.setFont(font);
    dc.textWidth("abc");
    HFONT native = dc.font.native;
    dc.textWidth("abcd");
    EXPECT_EQ(dc.font.native, native);
    EXPECT_EQ(dc.font.isStock, 0);
}

TEST(Caching, ThousandsOfOperationsDoNotGrowTheObjectCount) {
    Canvas source(30);
    Canvas dc;
    vIcon icon(reinterpret_cast<const unsigned char*>("\x01\x02"), 2, 8, 1);
    static const unsigned char colours[] = {1, 2, 3, 9, 9, 9, 9, 9, 9, 4, 5, 6};
    vIcon masked(colours, 2, 2, 24, 1);
    auto mix = [&](int i) {
        dc.drawLine(0, i % 100, 99, 0);
        dc.drawEllipse(i % 50, 10, 20, 20);
        dc.drawRectangle(5, 5, i % 30, 10);
        dc.drawText(10, 40, "abc");
        dc.setPen(vPen(i % 2 ? 255 : 0, 0, 0, 1 + i % 3));
        dc.drawIcon(i % 90, 50, icon);
        dc.drawIcon(i % 90, 60, masked);
        dc.drawRubberRectangle(1, 1, 50, 50);
        dc.setBackground(vColor(0, i % 2 ? 255 : 0, 0));
        dc.clearRect(0, 0, 5, 5);
        dc.copyFromMemoryDC(&source, 60, 60, 0, 0, 0, 0);
    };
    mix(0);
    int live = GdiTally::live;
    for (int i = 1; i < 2000; ++i)
        mix(i);
    EXPECT_EQ(GdiTally::live, live);
}

TEST(Text, DrawnAboveItsBaselineCornerAndMeasured) {
    Canvas dc(200);
    int ascent = 0, descent = 0;
    int cell = dc.textHeight(ascent, descent);
    EXPECT_GT(ascent, 0);
    EXPECT_EQ(cell, ascent + descent);
    EXPECT_GT(dc.textWidth("WWW"), dc.textWidth("W"));
    EXPECT_EQ(dc.textWidth(""), 0);
    dc.drawText(10, 60, "Hello");
    dc.drawText(10, 150, "");
    Box box = Pixels(dc).extent();
    EXPECT_GE(box[0], 10);
    EXPECT_GE(box[1], 60 - cell);
    EXPECT_LE(box[3], 59);
    EXPECT_LE(box[2], 10 + dc.textWidth("Hello"));
}

TEST(Text, AttributeColours) {
    Canvas dc(200);
    dc.drawAttrText(10, 60, "", 4 | 1 << 4);
    EXPECT_EQ(Pixels(dc).extent(), (Box{-1, -1, -1, -1}));
    // Flag 4: black text on the colour of code 1 (blue).
    dc.drawAttrText(10, 60, "MM", 4 | 1 << 4);
    // No flag, code 4: red text on the background.
    dc.drawAttrText(10, 120, "MM", 4 << 4);
    Pixels p(dc);
    int blue = 0, black = 0, red = 0;
    for (int y = 20; y < 60; ++y)
        for (int x = 10; x < 60; ++x) {
            blue += p.at(x, y) == Blue;
            black += p.at(x, y) == Black;
        }
    for (int y = 80; y < 120; ++y)
        for (int x = 10; x < 60; ++x)
            red += p.at(x, y) == Red;
    EXPECT_GT(blue, 20);
    EXPECT_GT(black, 5);
    EXPECT_GT(red, 5);
}

TEST(Fonts, StockAndNamedFamilies) {
    HDC screen = GetDC(nullptr);
    vFont fixed(FontFixed, 12, FontNormal, FontNormal, 0, 45);
    EXPECT_EQ(fixed.nativeFont(screen, 0), GetStockObject(SYSTEM_FIXED_FONT));
    EXPECT_EQ(fixed.isStock, 1);
    EXPECT_EQ(fixed.angle, 0);
    vFont sans(FontSans, 12, FontItalic, FontBold);
    LOGFONTA made = {};
    GetObjectA(sans.nativeFont(screen, 0), sizeof made, &made);
    EXPECT_EQ(sans.isStock, 0);
    EXPECT_EQ(made.lfHeight, GetDeviceCaps(screen, LOGPIXELSY) * 12 / 72);
    EXPECT_EQ(made.lfWeight, FW_BOLD);
    EXPECT_TRUE(made.lfItalic);
    EXPECT_STREQ(made.lfFaceName, "Arial");
    vFont printed(FontFixed, 20);
    GetObjectA(printed.nativeFont(screen, 1), sizeof made, &made);
    EXPECT_EQ(made.lfHeight, 24);
    EXPECT_STREQ(made.lfFaceName, "Courier New");
    vFont copy(sans);
    EXPECT_EQ(copy.native, nullptr);
    EXPECT_EQ(copy.weight, FontBold);
    ReleaseDC(nullptr, screen);
}

// An icon of 4 x 2 pixels drawn at (10, 10) on a blue ground with a red pen,
// a letter a pixel (B the ground, K black, G green, W white, digits greys),
// and nothing drawn beyond it.
std::string picture(vIcon&& icon) {
    Canvas dc(40);
    dc.setBackground(vColor(0, 0, 255));
    dc.clear();
    dc.setPen(vPen(255, 0, 0));
    dc.drawIcon(10, 10, icon);
    Pixels p(dc);
    Box drawn = p.extent(Blue);
    EXPECT_TRUE(drawn[0] >= 10 && drawn[1] >= 10 && drawn[2] <= 13 && drawn[3] <= 11);
    const std::pair<uint32_t, char> letters[] = {{Red, 'R'},      {Blue, 'B'},     {White, 'W'},
                                                 {Black, 'K'},    {0x00FF00, 'G'}, {0x090909, '9'},
                                                 {0x050505, '5'}, {0x070707, '7'}, {0x030201, 'c'}};
    std::string shown;
    for (int y = 10; y < 12; ++y)
        for (int x = 10; x < 14; ++x) {
            char letter = '?';
            for (const auto& [colour, name] : letters)
                if (p.at(x, y) == colour) letter = name;
            shown += letter;
        }
    return shown;
}

TEST(Icons, EachKindPaintsItsPixelsAndLeavesItsTransparentOnes) {
    // One bit, the leftmost pixel in the low bit: set bits take the pen.
    static const unsigned char bits[] = {0x09, 0x06};
    EXPECT_EQ(picture(vIcon(bits, 2, 4, 1)), "RBBRBRRB");
    // Palette entries 1 and 3 are both green; index 3 (bottom left) is transparent.
    static const unsigned char palette[] = {3,   0, 0,   0, 0, 255, 0, 255, 255,
                                            255, 0, 255, 0, 1, 2,   3, 1, //
                                            3,   3, 2,   1};
    EXPECT_EQ(picture(vIcon(palette, 2, 4, 8, 1)), "GWBGBBWG");
    // True colour, copied, or masked by the bottom-left colour (black).
    static const unsigned char rgb[] = {255, 0, 0, 9, 9, 9, 0, 0, 0, 1, 2, 3, //
                                        0,   0, 0, 5, 5, 5, 0, 0, 0, 7, 7, 7};
    EXPECT_EQ(picture(vIcon(rgb, 2, 4, 24)), "R9KcK5K7");
    EXPECT_EQ(picture(vIcon(rgb, 2, 4, 24, 1)), "R9BcB5B7");
}

} // namespace
