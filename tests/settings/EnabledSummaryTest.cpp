#include "EnabledSummary.h"
#include "ScheduleTable.h"

#include <gtest/gtest.h>

namespace {

TEST(EnabledSummary, ListsTheNumbersOfEntriesWhoseValidIsExactlyOne)
{
    ScheduleTable table;
    EXPECT_EQ(EnabledSummary(table), QStringLiteral("ありません。"));

    table[2].valid = 2; // counts only when exactly 1
    table[4].valid = -1;
    EXPECT_EQ(EnabledSummary(table), QStringLiteral("ありません。"));

    table[1].valid = 1;
    table[9].valid = 1;
    EXPECT_EQ(EnabledSummary(table), QStringLiteral("2 10 です。"));

    table[0].valid = 1;
    EXPECT_EQ(EnabledSummary(table), QStringLiteral("1 2 10 です。"));
}

} // namespace
