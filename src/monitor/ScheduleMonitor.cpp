#include "ScheduleMonitor.h"

#include "CTickwellDoc.h"
#include "CalendarRules.h"
#include "Clock.h"
#include "EntrySoundPlayer.h"
#include "MonthlyTiming.h"
#include "NoticePresenter.h"

#include <tuple>

ScheduleMonitor::ScheduleMonitor(
    CTickwellDoc &doc, const Clock &clock, EntrySoundPlayer &sound, NoticePresenter &notice)
    : m_doc(doc)
    , m_clock(clock)
    , m_sound(sound)
    , m_notice(notice)
    , m_scanner(doc, sound, notice)
{
}

void ScheduleMonitor::OnTimer()
{
    if (m_inTick)
        return;
    m_inTick = true;
    struct Leave
    {
        bool &flag;
        ~Leave() { flag = false; }
    } leave{m_inTick};
    Tick(m_clock.now());
}

void ScheduleMonitor::Tick(const LocalTime &now)
{
    if (now.minute == m_lastMinute)
        return;
    const int today = DayOfYear(now.day, now.month, now.year);
    RollOverYear(m_doc.schedules, m_doc.THIS_YEAR, now.year);

    for (int index = 0; index < ScheduleTable::kSize; ++index) {
        ScheduleEntry &entry = m_doc.schedules[index];
        if (entry.valid != 1)
            continue;
        m_scanner.ScanMissedMessages(now);
        MoveStaleMonthlyTiming(index, now);

        switch (entry.kind) {
        case ScheduleEntry::Weekly:
            if (entry.weekdayFlag(now.weekday) == 1) {
                if (entry.htime == now.hour && entry.mtime == now.minute)
                    entry.nextDay(now.weekday) = today + 7;
                FireSchedule(index, now.hour, now.minute, now);
                entry.valid = 1;
            }
            break;
        case ScheduleEntry::Monthly:
            if (entry.timingOfYear == now.year && entry.timingOfMonth == now.month
                && IsMonthlyDayToday(entry, now)) {
                FireSchedule(index, now.hour, now.minute, now);
                entry.valid = 1;
            }
            break;
        case ScheduleEntry::Once:
            // Stays disabled once it has fired.
            if (entry.OnceActionYear == now.year && entry.OnceActionMonth == now.month
                && entry.OnceActionDay == now.day)
                FireSchedule(index, now.hour, now.minute, now);
            break;
        default:
            break;
        }
    }
    m_lastMinute = now.minute;
    PrepareNextMinute(now);
}

// A notice window takes a few milliseconds to build, the first of a run
// many more for its font. When an enabled entry's set time is the coming
// minute, one is got ready now, once for that minute. Whether the day
// matches too is left to the firing: a window got ready in vain waits for
// the next notice.
void ScheduleMonitor::PrepareNextMinute(const LocalTime &now)
{
    const int nextMinute = (now.minute + 1) % 60;
    const int nextHour = nextMinute == 0 ? (now.hour + 1) % 24 : now.hour;
    const int next = nextHour * 60 + nextMinute;
    if (next == m_preparedFor)
        return;
    for (const ScheduleEntry &entry : m_doc.schedules) {
        if (entry.valid == 1 && entry.htime == nextHour && entry.mtime == nextMinute) {
            m_notice.PrepareNotice(entry.msg);
            m_preparedFor = next;
            return;
        }
    }
}

// A monthly entry that does not report missed occurrences keeps the timing of
// an occurrence that passed while no tick ran (asleep, not running), and would
// never match again. Move such a timing on to the next occurrence without a
// word. The current month is never moved, and a timing moved on stops at an
// occurrence due in this very minute: moving it past would stop the firing.
void ScheduleMonitor::MoveStaleMonthlyTiming(int index, const LocalTime &now)
{
    ScheduleEntry &entry = m_doc.schedules[index];
    if (entry.kind != ScheduleEntry::Monthly || entry.bAfterAction == 1)
        return;
    if (std::tie(entry.timingOfYear, entry.timingOfMonth) < std::tie(now.year, now.month))
        MoveMonthlyTimingOn(entry, now);
}

void ScheduleMonitor::FireSchedule(int index, int hour, int minute, const LocalTime &now)
{
    ScheduleEntry &entry = m_doc.schedules[index];
    if (entry.htime != hour || entry.mtime != minute)
        return;
    const Firing firing{now.year, now.month, now.day, hour, minute};
    auto &last = m_lastFiring[static_cast<std::size_t>(index)];
    if (last == firing)
        return;
    last = firing;

    entry.valid = 0;
    if (entry.kind == ScheduleEntry::Monthly)
        m_doc.UpdateMonthlyTiming(index, now.month, now);
    // A tick is never entered twice, so neither is this.
    m_firing = index;
    m_firingRepeats = entry.kind == ScheduleEntry::Weekly || entry.kind == ScheduleEntry::Monthly;
    m_sound.PlayEntrySound(index);
    m_notice.ShowNotice(entry.msg);
    m_firing = -1;
}

void ScheduleMonitor::SettleInterruptedFiring()
{
    if (m_firing >= 0 && m_firingRepeats)
        m_doc.schedules[m_firing].valid = 1;
}
