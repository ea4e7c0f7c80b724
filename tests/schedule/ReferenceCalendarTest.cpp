// The calendar rules checked day by day against std::chrono's calendar.
#include "CalendarRules.h"

#include <chrono>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono;

int weekdayOf(sys_days day)
{
    return static_cast<int>(weekday{day}.c_encoding());
}

TEST(ReferenceCalendar, DayOfYearAndDaysFromCivilAgreeFrom1900To2200)
{
    for (sys_days d = sys_days{year{1900} / January / 1}; d <= sys_days{year{2200} / December / 31};
         d += days{1}) {
        const year_month_day ymd{d};
        const int y = static_cast<int>(ymd.year());
        const int m = static_cast<int>(static_cast<unsigned>(ymd.month()));
        const int dd = static_cast<int>(static_cast<unsigned>(ymd.day()));
        const int expected = static_cast<int>((d - sys_days{ymd.year() / January / 1}).count()) + 1;
        ASSERT_EQ(DayOfYear(dd, m, y), expected) << y << "-" << m << "-" << dd;
        ASSERT_EQ(DaysFromCivil(y, m, dd), d.time_since_epoch().count()) << y << "-" << m << "-" << dd;
        ASSERT_EQ(DaysInMonth(m, y),
            static_cast<int>(static_cast<unsigned>((ymd.year() / ymd.month() / last).day())));
    }
}

TEST(ReferenceCalendar, NextDateOfWeekdayLandsOnTheWeekdayWithinAWeek)
{
    struct Now
    {
        int hour, minute;
    };
    const Now nows[] = {{0, 0}, {9, 30}, {23, 59}};
    const int minutes[] = {0, 29, 30, 31, 59};
    for (sys_days today = sys_days{year{2024} / January / 1}; today <= sys_days{year{2026} / December / 31};
         today += days{1}) {
        const year_month_day ymd{today};
        const sys_days newYear = sys_days{ymd.year() / January / 1};
        for (const Now &n : nows) {
            const LocalTime now{static_cast<int>(ymd.year()),
                static_cast<int>(static_cast<unsigned>(ymd.month())),
                static_cast<int>(static_cast<unsigned>(ymd.day())), n.hour, n.minute, 0, weekdayOf(today)};
            for (int wd = 0; wd < 7; ++wd) {
                for (int hour = 0; hour < 24; ++hour) {
                    for (int minute : minutes) {
                        const int result = NextDateOfWeekday(wd, hour, minute, now);
                        const sys_days due = newYear + days{result - 1};
                        const bool ahead = hour * 60 + minute > n.hour * 60 + n.minute;
                        ASSERT_EQ(weekdayOf(due), wd)
                            << now.year << "-" << now.month << "-" << now.day << " " << hour << ":" << minute;
                        ASSERT_GE(due, today);
                        ASSERT_LE(due, today + days{7});
                        ASSERT_EQ(due == today, wd == now.weekday && ahead)
                            << now.year << "-" << now.month << "-" << now.day << " " << hour << ":" << minute;
                    }
                }
            }
        }
    }
}

} // namespace
