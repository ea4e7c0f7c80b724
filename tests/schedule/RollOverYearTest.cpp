#include "CalendarRules.h"
#include "ScheduleTable.h"

#include <chrono>
#include <limits>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono;

// The date a day number names in the numbering of thisYear.
sys_days dateOf(int thisYear, int dayNumber)
{
    return sys_days{year{thisYear} / January / 1} + days{dayNumber - 1};
}

ScheduleTable tableWithDayNumbers()
{
    ScheduleTable table;
    int n = -400;
    for (ScheduleEntry &entry : table)
        for (int w = 0; w < 7; ++w)
            entry.nextDay(w) = (n += 13);
    return table;
}

TEST(RollOverYear, DayNumbersKeepNamingTheSameDates)
{
    struct Row
    {
        int from, to;
    };
    const Row rows[] = {{2023, 2024}, {2024, 2025}, {2025, 2026}, {2023, 2025}, {2024, 2029}, {2026, 2025},
        {2025, 2024}, {2099, 2100}};
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.from << " -> " << r.to);
        const ScheduleTable before = tableWithDayNumbers();
        ScheduleTable table = before;
        int thisYear = r.from;
        RollOverYear(table, thisYear, r.to);
        EXPECT_EQ(thisYear, r.to);
        for (int i = 0; i < ScheduleTable::kSize; ++i)
            for (int w = 0; w < 7; ++w)
                ASSERT_EQ(dateOf(r.to, table[i].nextDay(w)), dateOf(r.from, before[i].nextDay(w)));
    }
}

TEST(RollOverYear, OneYearForwardSubtractsTheOldYearsLength)
{
    struct Row
    {
        int from;
        int subtracted;
    };
    for (const Row &r : {Row{2024, 366}, Row{2025, 365}, Row{2000, 366}, Row{2100, 365}}) {
        ScheduleTable table;
        table[4].Next_TUE = 400;
        int thisYear = r.from;
        RollOverYear(table, thisYear, r.from + 1);
        EXPECT_EQ(table[4].Next_TUE, 400 - r.subtracted) << r.from;
        EXPECT_EQ(table[0].Next_Sun, -r.subtracted) << "a weekday never computed";
    }
}

TEST(RollOverYear, LateDecemberDayNumberBecomesEarlyJanuary)
{
    ScheduleTable table;
    table[0].Next_FRI = 367; // five days after day 362 of 2026
    int thisYear = 2026;
    RollOverYear(table, thisYear, 2027);
    EXPECT_EQ(table[0].Next_FRI, 2);
}

TEST(RollOverYear, SameYearChangesNothingAndExtremesDoNotOverflow)
{
    ScheduleTable table = tableWithDayNumbers();
    const ScheduleTable before = table;
    int thisYear = 2026;
    RollOverYear(table, thisYear, 2026);
    EXPECT_EQ(table, before);

    table[9].Next_SAT = std::numeric_limits<int>::min() + 5;
    table[9].Next_Sun = std::numeric_limits<int>::max() - 5;
    thisYear = std::numeric_limits<int>::min();
    RollOverYear(table, thisYear, 2026);
    EXPECT_EQ(thisYear, 2026);
    EXPECT_EQ(table[9].Next_SAT, std::numeric_limits<int>::min());
    thisYear = std::numeric_limits<int>::max();
    RollOverYear(table, thisYear, 2026);
    EXPECT_EQ(table[9].Next_SAT, std::numeric_limits<int>::max());
}

} // namespace
