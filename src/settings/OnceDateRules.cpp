#include "OnceDateRules.h"

#include "CalendarRules.h"

#include <tuple>

namespace {

// -1, 0 or 1 as date lies before, on or after today.
int compareWithToday(const QDate &date, const LocalTime &now)
{
    if (!date.isValid())
        return -1;
    const auto day = std::make_tuple(date.year(), date.month(), date.day());
    const auto today = std::make_tuple(now.year, now.month, now.day);
    if (day < today)
        return -1;
    return day == today ? 0 : 1;
}

} // namespace

bool IsPastOnceMoment(const QDate &date, int hour, int minute, const LocalTime &now)
{
    const int order = compareWithToday(date, now);
    if (order != 0)
        return order < 0;
    return IsTimeAhead(hour, minute, now) == 0;
}

QDate ClampedOnceDate(const QDate &date, const LocalTime &now)
{
    if (compareWithToday(date, now) <= 0)
        return QDate(now.year, now.month, now.day);
    return date;
}
