// Dialog template bytes and dialog-unit text widths.
#include "framework/controls/DialogText.h"
#include "framework/dialogs/DialogTemplate.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int read16(const DialogTemplate& t, int at) {
    return t.data()[at] | t.data()[at + 1] << 8;
}

std::uint32_t read32(const DialogTemplate& t, int at) {
    return std::uint32_t(read16(t, at)) | std::uint32_t(read16(t, at + 2)) << 16;
}

std::string readText(const DialogTemplate& t, int at) {
    std::string text;
    for (; read16(t, at); at += 2)
        text += char(read16(t, at));
    return text;
}

TEST(DialogTemplateBytes, OneButtonDialog) {
    DialogTemplate t;
    ASSERT_TRUE(t.begin(0x90C00040, 10, 25, 1, 1, "", "", "Dlg", 8, "Helv"));
    // 22 + 2 + 2 + 8 rounded to 36, then 2 + 10 for the font.
    EXPECT_EQ(t.used(), 48);
    EXPECT_EQ(read32(t, 4), 0x90C00040u);
    EXPECT_EQ(read32(t, 8), 0u);
    EXPECT_EQ(read16(t, 12), 0);
    EXPECT_EQ(read16(t, 14), 10);
    EXPECT_EQ(read16(t, 16), 25);
    EXPECT_EQ(read16(t, 22), 0) << "no menu";
    EXPECT_EQ(read16(t, 24), 0) << "no class";
    EXPECT_EQ(readText(t, 26), "Dlg");
    EXPECT_EQ(read16(t, 34), 8);
    EXPECT_EQ(readText(t, 36), "Helv");

    int item = t.addItem(2, 2, 40, 14, 32151, 0x10010001, "BUTTON", "OK", 0, nullptr);
    EXPECT_EQ(item, 48);
    EXPECT_EQ(t.used(), 88); // 20 + 14 + 6, a multiple of 4
    EXPECT_EQ(t.itemCount(), 1);
    EXPECT_EQ(read32(t, item), 0x50010001u) << "the child bit is added";
    EXPECT_EQ(read16(t, item + 8), 2);
    EXPECT_EQ(read16(t, item + 12), 40);
    EXPECT_EQ(read16(t, item + 14), 14);
    EXPECT_EQ(read16(t, item + 16), 32151);
    EXPECT_EQ(readText(t, item + 18), "BUTTON");
    EXPECT_EQ(readText(t, item + 32), "OK");
    EXPECT_EQ(read16(t, item + 38), 0) << "no creation data";

    t.setItemSize(item, 50, 20);
    EXPECT_EQ(read16(t, item + 12), 50);
    t.end(44, 18);
    // The prefix is gone: the block starts with the style.
    EXPECT_EQ(read32(t, 0), 0x90C00040u);
    EXPECT_EQ(read16(t, 8), 1);
    EXPECT_EQ(read16(t, 14), 44);
    EXPECT_EQ(read16(t, 16), 18);
    EXPECT_EQ(readText(t, item - 4 + 18), "BUTTON");
    EXPECT_EQ(t.size(), 88u);
}

TEST(DialogTemplateBytes, ComboBoxRoomAndCreationData) {
    DialogTemplate t;
    ASSERT_TRUE(t.begin(0x54000040, 0, 0, 1, 1, "", "", "", 8, "Helv"));
    EXPECT_EQ(t.used() % 4, 0);
    const unsigned char data[3] = {7, 8, 9};
    int combo = t.addItem(2, 2, 50, 14, 5, 0, "COMBOBOX", "", 3, data);
    EXPECT_EQ(read16(t, combo + 14), 62);
    int after = combo + 18 + 18 + 2; // class, empty title
    EXPECT_EQ(read16(t, after), 3);
    EXPECT_EQ(t.data()[after + 2], 7);
    EXPECT_EQ(t.data()[after + 4], 9);
    int next = t.addItem(2, 20, 10, 10, 6, 0, "STATIC", "é", 0, nullptr);
    EXPECT_EQ(next % 4, 0);
    EXPECT_EQ(next, combo + 44); // 20 + 18 + 2 + 3 rounded up
    EXPECT_EQ(t.itemCount(), 2);
}

TEST(DialogText, WidthsFromTheCharacterTable) {
    EXPECT_EQ(dialogTextWidth("Name:"), 20);
    EXPECT_EQ(dialogTextWidth("W@M"), 19);
    EXPECT_EQ(dialogTextWidth("il|"), 6);
    EXPECT_EQ(dialogTextWidth("\t\x7f\x80\xff"), 16) << "outside 32..126 counts 4";
    EXPECT_EQ(dialogTextWidth(""), 0);
    EXPECT_EQ(dialogTextWidth(nullptr), 0);
    EXPECT_EQ(visibleLength("&File && more"), 10);
    EXPECT_EQ(visibleLength(nullptr), 0);
    // Every printable character has a width of 2 to 7.
    for (unsigned char w : charWidthTable) {
        EXPECT_GE(w, 2);
        EXPECT_LE(w, 7);
    }
}

} // namespace
