#include "CalendarRules.h"

#include "ScheduleEntry.h"
#include "ScheduleTable.h"

#include <algorithm>
#include <limits>

int DaysInFebruary(int year)
{
    if (year % 400 == 0)
        return 29;
    if (year % 100 == 0)
        return 28;
    if (year % 4 == 0)
        return 29;
    return 28;
}

int DaysInMonth(int month, int year)
{
    switch (month) {
    case 2:
        return DaysInFebruary(year);
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

int DayOfYear(int day, int month, int year)
{
    // Every month past December counts 31 days; add those at once so that a
    // damaged month cannot make the loop run for billions of rounds.
    std::int64_t result = day;
    for (int m = 1; m < std::min(month, 13); ++m)
        result += DaysInMonth(m, year);
    if (month > 13)
        result += std::int64_t{31} * (month - 13);
    return static_cast<int>(std::min<std::int64_t>(result, std::numeric_limits<int>::max()));
}

std::int64_t DaysFromCivil(std::int64_t year, int month, int day)
{
    // Howard Hinnant's days_from_civil: eras of 400 years, March-based years.
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;                                         // [0, 399]
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1; // [0, 365]
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int IsTimeAhead(int hour, int minute, const LocalTime &now)
{
    if (hour < now.hour)
        return 0;
    if (hour > now.hour)
        return 1;
    return minute > now.minute ? 1 : 0;
}

int NextDateOfWeekday(int weekday, int hour, int minute, const LocalTime &now)
{
    const int today = DayOfYear(now.day, now.month, now.year);
    const int w = now.weekday;
    if (weekday > w)
        return today - w + weekday;
    if (weekday == w)
        return IsTimeAhead(hour, minute, now) ? today : today + 7;
    return today - w + weekday + 7;
}

void SetNextMonthTiming(int &year, int &month, const LocalTime &now)
{
    if (now.month == 12) {
        year = now.year + 1;
        month = 1;
    } else {
        month = now.month + 1;
    }
}

int IsMonthlyOccurrenceAhead(int dayOfMonth, int hour, int minute, const LocalTime &now)
{
    const int today = now.day;
    const int lastDay = DaysInMonth(now.month, now.year);
    if (dayOfMonth < today)
        return 0;
    if (dayOfMonth > today) {
        if (dayOfMonth <= lastDay)
            return 1;
        return today != lastDay ? 1 : IsTimeAhead(hour, minute, now);
    }
    return IsTimeAhead(hour, minute, now);
}

void UpdateMonthlyTiming(ScheduleEntry &entry, int month, const LocalTime &now)
{
    entry.timingOfYear = now.year;
    entry.timingOfMonth = month;
    if (!IsMonthlyOccurrenceAhead(entry.dayOfMonth, entry.htime, entry.mtime, now))
        SetNextMonthTiming(entry.timingOfYear, entry.timingOfMonth, now);
}

void RollOverYear(ScheduleTable &table, int &thisYear, int year)
{
    if (thisYear == year)
        return;
    const std::int64_t shift = DaysFromCivil(year, 1, 1) - DaysFromCivil(thisYear, 1, 1);
    constexpr std::int64_t lowest = std::numeric_limits<int>::min();
    constexpr std::int64_t highest = std::numeric_limits<int>::max();
    for (ScheduleEntry &entry : table) {
        for (int weekday = 0; weekday < 7; ++weekday) {
            int &dayNumber = entry.nextDay(weekday);
            dayNumber = static_cast<int>(std::clamp(dayNumber - shift, lowest, highest));
        }
    }
    thisYear = year;
}
