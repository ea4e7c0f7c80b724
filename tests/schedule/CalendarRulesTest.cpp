#include "CalendarRules.h"
#include "ScheduleEntry.h"

#include <gtest/gtest.h>

namespace {

LocalTime at(int year, int month, int day, int hour, int minute, int weekday = 0)
{
    return LocalTime{year, month, day, hour, minute, 0, weekday};
}

TEST(CalendarRules, MonthLengths)
{
    struct Row
    {
        int month, year, days;
    };
    const Row rows[] = {
        {2, 1900, 28},
        {2, 2000, 29},
        {2, 2023, 28},
        {2, 2024, 29},
        {2, 2100, 28},
        {1, 2023, 31},
        {4, 2023, 30},
        {6, 2023, 30},
        {9, 2023, 30},
        {11, 2023, 30},
        {12, 2023, 31},
        {13, 2023, 31},
        {0, 2023, 31},
        {-5, 2023, 31},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.year << "-" << r.month);
        EXPECT_EQ(DaysInMonth(r.month, r.year), r.days);
        if (r.month == 2) {
            EXPECT_EQ(DaysInFebruary(r.year), r.days);
        }
    }
}

TEST(CalendarRules, DayOfYear)
{
    struct Row
    {
        int day, month, year, expected;
    };
    const Row rows[] = {
        {1, 1, 2023, 1}, {1, 3, 2023, 60}, {1, 3, 2024, 61}, {31, 12, 2023, 365}, {31, 12, 2024, 366},
        {5, 0, 2024, 5}, {5, -3, 2024, 5}, {40, 1, 2024, 40},
        {1, 14, 2023, 365 + 31 + 1}, // a month past December adds 31 days per month
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.year << "-" << r.month << "-" << r.day);
        EXPECT_EQ(DayOfYear(r.day, r.month, r.year), r.expected);
    }
    // A damaged month or day must neither loop for long nor overflow.
    EXPECT_EQ(DayOfYear(2147483647, 2147483647, 2023), 2147483647);
}

TEST(CalendarRules, TimeIsAheadOnlyWhenStrictlyLaterThanThisMinute)
{
    const LocalTime ten = at(2026, 5, 1, 10, 0);
    EXPECT_EQ(IsTimeAhead(10, 0, ten), 0);
    EXPECT_EQ(IsTimeAhead(10, 1, ten), 1);
    EXPECT_EQ(IsTimeAhead(9, 59, ten), 0);
    EXPECT_EQ(IsTimeAhead(11, 0, ten), 1);
    EXPECT_EQ(IsTimeAhead(0, 0, at(2026, 5, 1, 0, 0)), 0);
    EXPECT_EQ(IsTimeAhead(23, 59, at(2026, 5, 1, 23, 58)), 1);
}

TEST(CalendarRules, NextDateOfWeekdayOnAWednesdayAtNoon)
{
    // 10 April 2026 is day 100; the weekday is forced to Wednesday, as the rule
    // takes the weekday from the clock reading.
    const LocalTime wednesdayNoon = at(2026, 4, 10, 12, 0, 3);
    ASSERT_EQ(DayOfYear(10, 4, 2026), 100);
    struct Row
    {
        int weekday, hour, minute, expected;
    };
    const Row rows[] = {
        {5, 12, 0, 102},
        {1, 12, 0, 105},
        {3, 13, 0, 100},
        {3, 12, 0, 107},
        {3, 11, 0, 107},
        {3, 12, 1, 100},
        {0, 0, 0, 104},
        {6, 23, 59, 103},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << "weekday " << r.weekday << " " << r.hour << ":" << r.minute);
        EXPECT_EQ(NextDateOfWeekday(r.weekday, r.hour, r.minute, wednesdayNoon), r.expected);
    }
}

TEST(CalendarRules, NextMonthTiming)
{
    for (int day = 1; day <= 31; ++day) {
        int year = 2026, month = 12;
        SetNextMonthTiming(year, month, at(2026, 12, day, 12, 0));
        EXPECT_EQ(year, 2027);
        EXPECT_EQ(month, 1);
    }
    int year = 2026, month = 11;
    SetNextMonthTiming(year, month, at(2026, 11, 30, 23, 59));
    EXPECT_EQ(year, 2026);
    EXPECT_EQ(month, 12);
    // Outside December the year is left as the caller set it.
    year = 1999;
    SetNextMonthTiming(year, month, at(2026, 3, 1, 0, 0));
    EXPECT_EQ(year, 1999);
    EXPECT_EQ(month, 4);
}

TEST(CalendarRules, MonthlyOccurrenceAhead)
{
    struct Row
    {
        const char *name;
        int dayOfMonth, hour, minute;
        LocalTime now;
        int expected;
    };
    const Row rows[] = {
        {"31st on 15 April", 31, 10, 0, at(2026, 4, 15, 12, 0), 1},
        {"31st on 30 April 09:59", 31, 10, 0, at(2026, 4, 30, 9, 59), 1},
        {"31st on 30 April 10:00", 31, 10, 0, at(2026, 4, 30, 10, 0), 0},
        {"31st on 30 April 15:00", 31, 10, 0, at(2026, 4, 30, 15, 0), 0},
        {"31st on 31 March 10:00", 31, 10, 0, at(2026, 3, 31, 10, 0), 0},
        {"31st on 31 March 09:00", 31, 10, 0, at(2026, 3, 31, 9, 0), 1},
        {"29th on 28 Feb 2025", 29, 8, 0, at(2025, 2, 28, 9, 0), 0},
        {"29th on 28 Feb 2024", 29, 8, 0, at(2024, 2, 28, 9, 0), 1},
        {"30th on 29 Feb 2024 07:00", 30, 8, 0, at(2024, 2, 29, 7, 0), 1},
        {"10th on the 11th", 10, 23, 59, at(2026, 6, 11, 0, 0), 0},
        {"10th on the 9th", 10, 0, 0, at(2026, 6, 9, 23, 59), 1},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(IsMonthlyOccurrenceAhead(r.dayOfMonth, r.hour, r.minute, r.now), r.expected);
    }
}

TEST(CalendarRules, UpdateMonthlyTimingPointsAtTheNextOccurrence)
{
    struct Row
    {
        const char *name;
        LocalTime now;
        int year, month;
    };
    const Row rows[] = {
        {"5 June, day 20 ahead", at(2026, 6, 5, 12, 0), 2026, 6},
        {"25 June, day 20 passed", at(2026, 6, 25, 12, 0), 2026, 7},
        {"21 December, day 20 passed", at(2026, 12, 21, 12, 0), 2027, 1},
        {"20 June at the set minute", at(2026, 6, 20, 9, 30), 2026, 7},
        {"20 June a minute early", at(2026, 6, 20, 9, 29), 2026, 6},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        ScheduleEntry entry;
        entry.dayOfMonth = 20;
        entry.htime = 9;
        entry.mtime = 30;
        entry.timingOfYear = 2026;
        entry.timingOfMonth = 3;
        UpdateMonthlyTiming(entry, r.now.month, r.now);
        EXPECT_EQ(entry.timingOfYear, r.year);
        EXPECT_EQ(entry.timingOfMonth, r.month);
    }
}

} // namespace
