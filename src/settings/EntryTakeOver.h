#pragma once

#include "LocalTime.h"

struct ScheduleEntry;
struct ScheduleForm;

// What became of a take-over.
enum class TakeOverResult {
    Stored,     // the form is in the entry, with its derived fields
    PastMoment, // an enabled one-time schedule set to a moment that has come:
                // the entry is disabled, and its date, sound and WAV file
                // keep their values
};

// Writes the form of the schedule on show into its working entry and works
// out what the monitor needs: the next day number of each chosen weekday, the
// month of the next monthly occurrence, the one-time date. thisYear becomes
// the current year, since the weekday day numbers count from it. now is the
// one clock reading of the whole take-over.
TakeOverResult StoreEntry(
    const ScheduleForm &form, ScheduleEntry &entry, int &thisYear, const LocalTime &now);
