// The framework's platform-free parts: command line, keys, bar layout and
// the handle registry.
#include "framework/app/CommandLine.h"
#include "framework/app/FrameLayout.h"
#include "framework/app/KeyCodes.h"
#include "framework/dialogs/vThisList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The words after the program's name, with the debug option taken out or not.
std::vector<std::string> split(const char* text, bool withoutDebug = false) {
    std::string line = text;
    char* argv[MaxArguments];
    argv[0] = const_cast<char*>("prog");
    int argc = splitCommandLine(&line[0], 1, argv);
    if (withoutDebug) argc = removeDebugOption(argc, argv);
    EXPECT_EQ(argv[argc], nullptr);
    return std::vector<std::string>(argv + 1, argv + argc);
}

using Words = std::vector<std::string>;

TEST(CommandLine, SplitsOnBlanksAndQuotes) {
    EXPECT_EQ(split("a bb  ccc"), (Words{"a", "bb", "ccc"}));
    EXPECT_EQ(split("  \"two words\" next"), (Words{"two words", "next"}));
    EXPECT_EQ(split("\"unterminated quote"), (Words{"unterminated quote"}));
    EXPECT_EQ(split("\"\" x"), (Words{"", "x"}));
    EXPECT_EQ(split("a\r\nb c"), (Words{"a"}));
    EXPECT_EQ(split("a\nb"), (Words{"a"}));
    EXPECT_EQ(split("\"quoted\rrest\" b"), (Words{"quoted"}));
    EXPECT_EQ(split(""), Words{});
    EXPECT_EQ(split("   "), Words{});
}

TEST(CommandLine, TakesAtMost48Words) {
    std::string line;
    for (int i = 0; i < 60; ++i)
        line += "w" + std::to_string(i) + " ";
    Words words = split(line.c_str());
    ASSERT_EQ(words.size(), 48u);
    EXPECT_EQ(words.back(), "w47");
}

TEST(CommandLine, RemovesDebugOptionAndItsWord) {
    EXPECT_EQ(split("-vDebug abc pose.txt", true), Words{"pose.txt"});
    EXPECT_EQ(split("x -vDebug", true), Words{"x"});
    EXPECT_EQ(split("-vDebug a -vDebug b c", true), (Words{"-vDebug", "b", "c"}));
}

TEST(KeyCodes, TableOfPlatformKeys) {
    EXPECT_EQ(frameworkKey(0x74), 0xFFC5); // F5
    EXPECT_EQ(frameworkKey(0x70), KeyF1);
    EXPECT_EQ(frameworkKey(0x7F), KeyF16);
    EXPECT_EQ(frameworkKey(0x24), KeyHome);
    EXPECT_EQ(frameworkKey(0x22), KeyPageDown);
    EXPECT_EQ(frameworkKey(0x2E), KeyDelete);
    EXPECT_EQ(frameworkKey(0x2D), KeyInsert);
    int mapped = 0;
    for (int vk = 0; vk < 256; ++vk)
        mapped += frameworkKey(vk) != 0;
    EXPECT_EQ(mapped, 26);
    EXPECT_EQ(frameworkKey(0x12), 0); // Alt
    EXPECT_EQ(frameworkKey('A'), 0);
}

TEST(KeyCodes, ShiftRules) {
    struct Case {
        int key, shift, wantKey, wantShift;
    };
    const Case cases[] = {
        {9, ShiftKeyBit, KeyShiftTab, ShiftKeyBit},
        {9, ShiftKeyBit | ControlKeyBit, KeyShiftTab, ShiftKeyBit | ControlKeyBit},
        {9, 0, 9, 0},
        {1, ControlKeyBit, 1, 0},
        {19, ControlKeyBit | ShiftKeyBit, 19, ShiftKeyBit},
        {'a', ControlKeyBit, 'a', ControlKeyBit},
        {0xFFC5, ControlKeyBit | ShiftKeyBit, 0xFFC5, ControlKeyBit | ShiftKeyBit},
    };
    for (const Case& c : cases) {
        int key = c.key, shift = c.shift;
        adjustKeyShift(key, shift);
        EXPECT_EQ(key, c.wantKey) << c.key << "/" << c.shift;
        EXPECT_EQ(shift, c.wantShift) << c.key << "/" << c.shift;
    }
}

TEST(KeyCodes, KeyDownsOfCharacterKeysAreNotDelivered) {
    int delivered = 0;
    for (int vk = 0; vk < 256; ++vk) {
        delivered += isKeyDownDelivered(vk);
        if (frameworkKey(vk)) {
            EXPECT_TRUE(isKeyDownDelivered(vk)) << vk;
        }
    }
    // Backspace, Tab, Return, Escape, Space, digits, letters and punctuation
    // come back as characters; Shift and Control alone are nothing.
    for (int vk :
         {0x08, 0x09, 0x0D, 0x1B, 0x20, int('0'), int('9'), int('A'), int('Z'), 0xBA, 0x10, 0x11})
        EXPECT_FALSE(isKeyDownDelivered(vk)) << vk;
    // The 16 function keys and the codes below '0' but those 8.
    EXPECT_EQ(delivered, 16 + 48 - 8);
}

TEST(FrameLayout, NewestBarIsOutermost) {
    // Newest first: a second command bar and a second status bar.
    BarSlot bars[] = {{0, 10, 0, 0}, {1, 5, 0, 0}, {0, 30, 0, 0}, {1, 20, 0, 0}};
    int top = 0, bottom = 300;
    stackBars(bars, 4, top, bottom);
    EXPECT_EQ(bars[0].top, 0);
    EXPECT_EQ(bars[2].top, 10);
    EXPECT_EQ(bars[1].top, 295);
    EXPECT_EQ(bars[3].top, 275);
    // The inner edge: a bar's bottom, a status bar's top.
    EXPECT_EQ(bars[2].edge, 40);
    EXPECT_EQ(bars[3].edge, 275);
    EXPECT_EQ(top, 40);
    EXPECT_EQ(bottom, 275);
}

TEST(vThisList, CursorSemantics) {
    vThisList list;
    int a = 1, b = 2, c = 3;
    EXPECT_EQ(list.first(), nullptr);
    EXPECT_EQ(list.next(), nullptr);
    list.add(vThisList::Key(10), &a);
    EXPECT_EQ(list.first(), &a);
    EXPECT_EQ(list.next(), nullptr);
    EXPECT_EQ(list.next(), nullptr);

    list.add(vThisList::Key(20), &b);
    list.add(vThisList::Key(10), &c);
    EXPECT_EQ(list.find(vThisList::Key(10)), &c);
    list.remove(vThisList::Key(10));
    EXPECT_EQ(list.cursorKey(), vThisList::Key(20));
    EXPECT_EQ(list.find(vThisList::Key(10)), &a);
    EXPECT_EQ(list.find(vThisList::Key(99)), nullptr);

    // remove of the head leaves the cursor on the new head
    list.remove(vThisList::Key(20));
    EXPECT_EQ(list.cursorKey(), vThisList::Key(10));
    list.remove(vThisList::Key(77));
    EXPECT_EQ(list.first(), &a);
}

TEST(vThisList, IterationSeesEveryEntryNewestFirst) {
    vThisList list;
    int values[5];
    for (int i = 0; i < 5; ++i)
        list.add(&values[i], &values[i]);
    std::vector<void*> seen;
    for (void* v = list.first(); v; v = list.next())
        seen.push_back(v);
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen.front(), &values[4]);
    EXPECT_EQ(seen.back(), &values[0]);
    EXPECT_EQ(list.find(&values[2]), &values[2]);
    EXPECT_EQ(list.next(), &values[1]);
}

} // namespace
