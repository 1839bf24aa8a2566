// Colours, icon pixel data and block-copy clipping: the drawing arithmetic
// that needs no platform.
#include "framework/draw/BlockCopy.h"
#include "framework/draw/IconPixels.h"
#include "framework/draw/vColor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Color, KeepsLowEightBitsAndPacksRedLow) {
    vColor color(300, -1, 64);
    EXPECT_EQ(color.red, 44);
    EXPECT_EQ(color.green, 255);
    EXPECT_EQ(color.blue, 64);
    EXPECT_EQ(color.packed, 0x40FF2Cu);
    color.setGreen(0x100 + 7);
    color.setBlue(1);
    color.setRed(-2);
    EXPECT_EQ(color.packed, 0x0107FEu);
}

// The standard table's own entries are data; what the text codes pick is not.
TEST(Color, TextCodesPickTheirStandardColours) {
    const vColor* colors = standardColors();
    // Attribute codes: 1 blue, 2 green, 4 red, 7 white, 8 dark grey, 15 medium grey.
    EXPECT_EQ(colors[textColorIndex(1)].packed, 0xFF0000u);
    EXPECT_EQ(colors[textColorIndex(2)].packed, 0x00FF00u);
    EXPECT_EQ(colors[textColorIndex(4)].packed, 0x0000FFu);
    EXPECT_EQ(colors[textColorIndex(7)].packed, 0xFFFFFFu);
    EXPECT_EQ(std::string(standardColorNames[textColorIndex(8)]), "Dark Gray");
    EXPECT_EQ(std::string(standardColorNames[textColorIndex(15)]), "Med Gray");
    bool used[16] = {};
    for (int code = 0; code < 16; ++code)
        used[textColorIndex(code)] = true;
    for (bool u : used)
        EXPECT_TRUE(u) << "the map is a permutation";
}

TEST(IconData, MonochromeRowsAreBitReversedAndPaddedToEvenLength) {
    // 40 pixels: 5 data bytes a row, 6 native bytes.
    const unsigned char data[] = {0x01, 0x80, 0x0F, 0x00, 0xFF, //
                                  0x03, 0x00, 0x00, 0x00, 0xAA};
    IconPixels icon(data, 2, 40, 1);
    EXPECT_EQ(icon.monoRowBytes(), 6);
    std::vector<uint8_t> rows = icon.monoRows();
    std::vector<uint8_t> expected = {0x80, 0x01, 0xF0, 0x00, 0xFF, 0xFF,
                                     0xC0, 0x00, 0x00, 0x00, 0x55, 0xFF};
    EXPECT_EQ(rows, expected);
    // 16 pixels need no padding.
    EXPECT_EQ(IconPixels(data, 1, 16, 1).monoRowBytes(), 2);
    EXPECT_EQ(IconPixels(data, 1, 9, 1).monoRowBytes(), 2);
}

TEST(IconData, PaletteIconIsTransparentByIndexNotColour) {
    // Palette of 4: entries 1 and 3 share a colour; the bottom-left index is 3.
    const unsigned char data[] = {3, 0, 0, 0, 10, 20, 30, 200, 0, 0, 10, 20, 30, 1, 2, //
                                  3, 1};
    IconPixels icon(data, 2, 2, 8);
    EXPECT_EQ(icon.colorAt(0, 0), 0x1E140Au);
    EXPECT_EQ(icon.colorAt(1, 0), 0x0000C8u);
    EXPECT_EQ(icon.colorAt(0, 1), 0x1E140Au);
    EXPECT_FALSE(icon.isTransparentAt(0, 0));
    EXPECT_FALSE(icon.isTransparentAt(1, 1));
    EXPECT_TRUE(icon.isTransparentAt(0, 1));
}

TEST(IconData, PaletteIndexesMustStayInsideThePalette) {
    // A palette of 2 entries: index 1 is the last one, 2 lies beyond.
    const unsigned char fits[] = {1, 0, 0, 0, 9, 9, 9, 0, 1, //
                                  1, 0};
    const unsigned char past[] = {1, 0, 0, 0, 9, 9, 9, 0, 1, //
                                  2, 0};
    EXPECT_TRUE(IconPixels(fits, 2, 2, 8).indexesFitPalette());
    EXPECT_FALSE(IconPixels(past, 2, 2, 8).indexesFitPalette());
    // A full palette of 256 entries takes every index.
    std::vector<unsigned char> full(1 + 3 * 256 + 1, 0);
    full[0] = 255;
    full.back() = 255;
    EXPECT_TRUE(IconPixels(full.data(), 1, 1, 8).indexesFitPalette());
}

TEST(IconData, TrueColourIconTakesTheBottomLeftColourAsTransparent) {
    const unsigned char data[] = {1, 2, 3, 9, 9, 9, //
                                  9, 9, 9, 4, 5, 6};
    IconPixels icon(data, 2, 2, 24);
    EXPECT_EQ(icon.colorAt(0, 0), 0x030201u);
    EXPECT_EQ(icon.colorAt(1, 1), 0x060504u);
    EXPECT_TRUE(icon.isTransparentAt(1, 0));
    EXPECT_FALSE(icon.isTransparentAt(0, 0));
}

TEST(BlockCopyClip, ZeroSizeMeansTheWholeSource) {
    BlockCopy copy = {0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(clipBlockCopy(copy, 300, 300, 0, 0));
    EXPECT_EQ(copy.width, 300);
    EXPECT_EQ(copy.height, 300);
}

TEST(BlockCopyClip, ClipsToSourceAndDestinationWhenTheDestinationSizeIsKnown) {
    BlockCopy copy = {50, 10, -5, 20, 400, 0};
    ASSERT_TRUE(clipBlockCopy(copy, 300, 300, 200, 100));
    EXPECT_EQ(copy.srcX, 0);
    EXPECT_EQ(copy.width, 150); // 300 from the source, then 200 - 50
    EXPECT_EQ(copy.height, 90); // 300 - 20 = 280, then 100 - 10
    // An unknown destination size leaves clipping to the platform.
    BlockCopy loose = {50, 10, 0, 290, 400, 30};
    ASSERT_TRUE(clipBlockCopy(loose, 300, 300, 0, 0));
    EXPECT_EQ(loose.width, 400);
    EXPECT_EQ(loose.height, 30);
}

TEST(BlockCopyClip, NothingLeftIsNoCopy) {
    BlockCopy outside = {0, 0, 310, 0, 10, 10};
    EXPECT_FALSE(clipBlockCopy(outside, 300, 300, 300, 300));
    BlockCopy pastDest = {300, 0, 0, 0, 10, 10};
    EXPECT_FALSE(clipBlockCopy(pastDest, 300, 300, 300, 300));
}
