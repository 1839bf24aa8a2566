// Range arithmetic of sliders and progress bars at the ends of int.
#include "framework/controls/ValueRange.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(ValueRange, StepsAndBarsStayInsideEvenAtTheEndsOfInt) {
    ValueRange all{INT_MIN, INT_MAX};
    EXPECT_EQ(all.moved(INT_MAX - 3, 10), INT_MAX);
    EXPECT_EQ(all.moved(INT_MIN + 3, -10), INT_MIN);
    EXPECT_EQ(all.emptyPart(0, 1000), 500);
    EXPECT_EQ(all.emptyPart(INT_MAX - 1, 1000), 1) << "nearly full is never drawn full";
    // The empty part falls as the value rises, from the whole span to nothing.
    ValueRange odd{-7, 13};
    int previous = odd.emptyPart(-7, 38);
    EXPECT_EQ(previous, 38);
    for (int value = -6; value <= 13; previous = odd.emptyPart(value++, 38))
        EXPECT_LE(odd.emptyPart(value, 38), previous) << value;
    EXPECT_EQ(previous, 0);
    EXPECT_EQ(odd.emptyPart(-100, 38), 38) << "a value below the range";
    EXPECT_EQ(odd.emptyPart(100, 38), 0) << "a value above the range";
    EXPECT_EQ(odd.moved(12, 1), 13) << "a step onto the top";
    int reversed[] = {50, 10}, equal[] = {7, 7};
    EXPECT_EQ(loadRange(reversed).highest, 100);
    EXPECT_EQ(loadRange(equal).lowest, 7) << "two equal ends are a range";
    EXPECT_EQ(loadRange(equal).emptyPart(7, 38), 38);
}

} // namespace

TEST(ValueRange, TypedWholeNumbersAreTakenOnlyWhenTheyAreWhole) {
    int value = 0;
    EXPECT_TRUE(parseWhole(" -2147483648 ", value) && value == INT_MIN);
    EXPECT_TRUE(parseWhole("2147483647", value) && value == INT_MAX);
    for (const char* typed : {"", "-", "+5", "2.5", "1e3", "12a", "2147483648", "99999999999"})
        EXPECT_FALSE(parseWhole(typed, value)) << typed;
}
