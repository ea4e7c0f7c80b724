#pragma once

#include "LocalTime.h"

struct ScheduleEntry;

// Whether a monthly entry's day is today: a day the month lacks falls on its
// last day.
bool IsMonthlyDayToday(const ScheduleEntry &entry, const LocalTime &now);

// Points a monthly entry's timing at the month of its next occurrence, as
// UpdateMonthlyTiming does, except that an occurrence due in this very minute
// counts as still to come: the missed-message scan and the check of a timing
// left behind run before the tick's due test, which is then still to fire it.
void MoveMonthlyTimingOn(ScheduleEntry &entry, const LocalTime &now);
