#include "EntryTakeOver.h"

#include "CalendarRules.h"
#include "OnceDateRules.h"
#include "ScheduleEntry.h"
#include "ScheduleForm.h"

TakeOverResult StoreEntry(const ScheduleForm &form, ScheduleEntry &entry, int &thisYear, const LocalTime &now)
{
    thisYear = now.year;

    entry.valid = form.m_valid;
    entry.kind = form.kindSelection;
    entry.msg = form.m_msg;
    entry.htime = form.m_hour;
    entry.mtime = form.m_minute;
    entry.Sun = form.m_sun;
    entry.Mon = form.m_mon;
    entry.TUE = form.m_tue;
    entry.WED = form.m_wed;
    entry.THU = form.m_thu;
    entry.FRI = form.m_fri;
    entry.SAT = form.m_sat;
    entry.bAfterAction = form.m_afterAction;
    entry.dayOfMonth = form.m_dayOfMonth;

    switch (entry.kind) {
    case ScheduleEntry::Weekly:
        // A weekday that is not chosen keeps the day number it has.
        for (int weekday = 0; weekday < 7; ++weekday) {
            if (entry.weekdayFlag(weekday) == 1)
                entry.nextDay(weekday) = NextDateOfWeekday(weekday, entry.htime, entry.mtime, now);
        }
        break;
    case ScheduleEntry::Monthly:
        UpdateMonthlyTiming(entry, now.month, now);
        break;
    case ScheduleEntry::Once:
        if (entry.valid != 0 && IsPastOnceMoment(form.onceDate, entry.htime, entry.mtime, now)) {
            entry.valid = 0;
            return TakeOverResult::PastMoment;
        }
        // A disabled schedule keeps even a past date.
        entry.OnceActionYear = form.onceDate.year();
        entry.OnceActionMonth = form.onceDate.month();
        entry.OnceActionDay = form.onceDate.day();
        break;
    default:
        break;
    }

    if (form.soundChoice >= ScheduleEntry::NoSound && form.soundChoice <= ScheduleEntry::WaveFile)
        entry.sound = form.soundChoice;
    entry.waveFilePath = form.waveFilePath;
    return TakeOverResult::Stored;
}
