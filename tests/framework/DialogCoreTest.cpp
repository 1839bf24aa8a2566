// Dialog template bytes and dialog-unit text widths.
#include "framework/controls/DialogText.h"
#include "framework/dialogs/DialogTemplate.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int read16(const DialogTemplate& t, int at) {
    return t.data()[at] | t.data()[at + 1] << 8;
}

// The header, the controls' places, styles and titles are proven by the
// real dialogs built from templates; here only what they do not show.
TEST(DialogTemplateBytes, ComboBoxRoomAndCreationData) {
    DialogTemplate t;
    ASSERT_TRUE(t.begin(0x54000040, 0, 0, 1, 1, "", "", u"", 8, "Helv"));
    EXPECT_EQ(t.used() % 4, 0);
    const unsigned char data[3] = {7, 8, 9};
    int combo = t.addItem(2, 2, 50, 14, 5, 0, "COMBOBOX", u"", 3, data);
    EXPECT_EQ(read16(t, combo + 14), 62);
    int after = combo + 18 + 18 + 2; // class, empty title
    EXPECT_EQ(read16(t, after), 3);
    EXPECT_EQ(t.data()[after + 2], 7);
    EXPECT_EQ(t.data()[after + 4], 9);
    int next = t.addItem(2, 20, 10, 10, 6, 0, "STATIC", u"é", 0, nullptr);
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
