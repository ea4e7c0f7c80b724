#include "EntryValidator.h"

#include "ScheduleEntry.h"
#include "ScheduleForm.h"
#include "SettingsMessages.h"

QString ValidateEntry(const ScheduleEntry &entry, const ScheduleForm &form)
{
    if (entry.valid != 1)
        return {};
    // A lone line feed is what an emptied message edit may leave behind.
    if (entry.msg.isEmpty() || entry.msg == u"\n")
        return QString::fromUtf8(SettingsMessages::kNoMessage);
    if (form.m_hour < 0 || form.m_hour > 23 || form.m_minute < 0 || form.m_minute > 59)
        return QString::fromUtf8(SettingsMessages::kBadTime);
    if (entry.kind == ScheduleEntry::Weekly) {
        bool anyDay = false;
        for (int weekday = 0; weekday < 7; ++weekday)
            anyDay = anyDay || entry.weekdayFlag(weekday) == 1;
        if (!anyDay)
            return QString::fromUtf8(SettingsMessages::kNoWeekday);
    }
    if (entry.kind == ScheduleEntry::Monthly && (form.m_dayOfMonth < 1 || form.m_dayOfMonth > 31))
        return QString::fromUtf8(SettingsMessages::kNoDay);
    return {};
}
