#pragma once

#include "LocalTime.h"
#include "ScheduleEntry.h"
#include "ScheduleFields.h"

#include <QString>

#include <array>

// The layout of the schedule store: the section "THIS_YEAR" with its one key
// "THIS_YEAR", and the sections "Schedule1".."Schedule10" with 29 keys each.
// The key order of a schedule section, used for reading and for writing,
// differs from the field order of ScheduleEntry in two places:
// "bAfterAction" comes before "msg", and the one-time date comes before the
// timing keys, which run week, month, year.

inline constexpr const char *kThisYearSection = "THIS_YEAR";
inline constexpr const char *kThisYearKey = "THIS_YEAR";

// The 29 keys of a schedule section in the order they are read and written.
const std::array<ScheduleField, kScheduleFieldCount> &profileKeys();

// What a schedule section gives when nothing is stored: a disabled weekly
// entry at 0:00, the message "スケジュール<number>", day of month 1, the beep,
// "*.wav", and today's date as the one-time date.
ScheduleEntry defaultEntry(int number, const LocalTime &today);
