#pragma once

#include <QString>

// One reminder. The member names are the store's key names, kept exactly,
// mixed case of Sun/Mon beside TUE..SAT included.
struct ScheduleEntry
{
    enum Kind { Weekly = 0, Monthly = 1, Once = 2 };
    enum Sound { NoSound = 0, Beep = 1, WaveFile = 2 };

    int valid = 0;        // 1: enabled, may fire
    int kind = 0;         // Kind; other values match no rule
    int htime = 0;        // hour of the set time, 0..23
    int mtime = 0;        // minute of the set time, 0..59
    QString msg;          // shown when the entry fires
    int bAfterAction = 0; // 1: report occurrences that passed unfired

    // Weekly rule: the chosen weekdays, Sunday to Saturday.
    int Sun = 0;
    int Mon = 0;
    int TUE = 0;
    int WED = 0;
    int THU = 0;
    int FRI = 0;
    int SAT = 0;

    // Weekly rule: day number of each weekday's next due date, counted from
    // 1 for 1 January of the table's THIS_YEAR.
    int Next_Sun = 0;
    int Next_Mon = 0;
    int Next_TUE = 0;
    int Next_WED = 0;
    int Next_THU = 0;
    int Next_FRI = 0;
    int Next_SAT = 0;

    // Monthly rule: the day (a day the month lacks falls on its last day) and
    // the year and month in which the entry is next due.
    int dayOfMonth = 0;
    int timingOfYear = 0;
    int timingOfMonth = 0;
    int timingOfWeek = 0; // reserved: loaded and saved untouched

    // One-time rule: the date.
    int OnceActionYear = 0;
    int OnceActionMonth = 0;
    int OnceActionDay = 0;

    int sound = 0; // Sound
    QString waveFilePath;

    // Weekday w (0 Sunday .. 6 Saturday) selects a flag and a day number.
    int &weekdayFlag(int weekday);
    int weekdayFlag(int weekday) const;
    int &nextDay(int weekday);
    int nextDay(int weekday) const;

    friend bool operator==(const ScheduleEntry &, const ScheduleEntry &) = default;
};
