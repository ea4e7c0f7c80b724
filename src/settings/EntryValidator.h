#pragma once

#include <QString>

struct ScheduleEntry;
struct ScheduleForm;

// The checks an enabled schedule must pass when it is left or applied, on
// the entry just taken over and the time and day the form holds. Returns the
// message of the first check it fails, or an empty text when it passes or is
// not enabled (then nothing is checked). A one-time schedule's date was judged
// by the take-over.
QString ValidateEntry(const ScheduleEntry &entry, const ScheduleForm &form);
