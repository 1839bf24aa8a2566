// Status-bar tables become boxed-label records with texts of their own.
#include "framework/dialogs/StatusItemDef.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(StatusTable, EachFieldBecomesABoxedLabelWithItsOwnText) {
    char first[] = "Eyes Selected   ";
    StatusItemDef table[] = {{first, 104, AttrNoBorder, 3, 0}, {"Second", 7, 0, 0, 40}, {}};
    int count = -1;
    CommandObject* commands = statusCommands(table, count);
    ASSERT_EQ(count, 2);
    first[0] = 'X';
    EXPECT_STREQ(commands[0].title, "Eyes Selected   ");
    EXPECT_NE(commands[0].title, table[0].title);
    EXPECT_EQ(commands[0].kind, BoxedLabel);
    EXPECT_EQ(commands[0].id, 104);
    EXPECT_EQ(commands[0].attributes, std::uint32_t(AttrNoBorder));
    EXPECT_EQ(commands[0].sensitive, 1) << "only bit 0 is kept";
    EXPECT_EQ(commands[1].sensitive, 0);
    EXPECT_EQ(commands[1].size, 40);
    EXPECT_EQ(commands[1].tip, nullptr);
    EXPECT_EQ(commands[2].kind, EndOfList);
    EXPECT_EQ(commands[2].title, nullptr);
    freeStatusCommands(commands, count);
}

TEST(StatusTable, AnEmptyTableMakesNoField) {
    StatusItemDef table[] = {{}};
    int count = -1;
    CommandObject* commands = statusCommands(table, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(commands[0].kind, EndOfList);
    freeStatusCommands(commands, count);
}

} // namespace
