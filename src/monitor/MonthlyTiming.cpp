#include "MonthlyTiming.h"

#include "CalendarRules.h"
#include "ScheduleEntry.h"

bool IsMonthlyDayToday(const ScheduleEntry &entry, const LocalTime &now)
{
    const int monthLength = DaysInMonth(now.month, now.year);
    return entry.dayOfMonth == now.day || (entry.dayOfMonth > monthLength && now.day == monthLength);
}

void MoveMonthlyTimingOn(ScheduleEntry &entry, const LocalTime &now)
{
    if (IsMonthlyDayToday(entry, now) && entry.htime == now.hour && entry.mtime == now.minute) {
        entry.timingOfYear = now.year;
        entry.timingOfMonth = now.month;
        return;
    }
    UpdateMonthlyTiming(entry, now.month, now);
}
