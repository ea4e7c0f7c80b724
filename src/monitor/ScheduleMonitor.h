#pragma once

#include "LocalTime.h"
#include "MissedMessageScanner.h"
#include "ScheduleTable.h"

#include <array>
#include <optional>

class Clock;
class CTickwellDoc;
class EntrySoundPlayer;
class NoticePresenter;

// Once a minute, fires every enabled schedule that is due at the current
// minute and reports missed occurrences. Driven by the view's timer or by the
// simulator; it only reads the clock it is given.
class ScheduleMonitor
{
public:
    ScheduleMonitor(CTickwellDoc &doc, const Clock &clock, EntrySoundPlayer &sound, NoticePresenter &notice);

    // One timer tick: reads the clock once and acts when the minute of the
    // hour differs from that of the last tick that acted. A tick that starts
    // while another is still running (inside a message box's loop) does
    // nothing.
    void OnTimer();

    // Fires entry index if its set time is hour:minute: sound, then a notice
    // window with its message. An entry fires at most once for the same date
    // and set time within one run, so an hour that happens twice (the end of
    // daylight saving time, a clock set back) does not repeat a reminder.
    void FireSchedule(int index, int hour, int minute, const LocalTime &now);

    // Puts back in order an entry whose firing has not returned yet (its
    // sound's message box is open) as its tick would once it returns: a
    // weekly or monthly entry enabled again. For a save made before that,
    // when the session ends inside the box.
    void SettleInterruptedFiring();

    int lastMinute() const { return m_lastMinute; }
    // Whether a tick is running (and perhaps waiting in a message box's loop).
    bool ticking() const { return m_inTick; }

private:
    void Tick(const LocalTime &now);
    void PrepareNextMinute(const LocalTime &now);
    void MoveStaleMonthlyTiming(int index, const LocalTime &now);

    struct Firing
    {
        int year, month, day, hour, minute;
        friend bool operator==(const Firing &, const Firing &) = default;
    };

    CTickwellDoc &m_doc;
    const Clock &m_clock;
    EntrySoundPlayer &m_sound;
    NoticePresenter &m_notice;
    MissedMessageScanner m_scanner;
    int m_lastMinute = -1;
    bool m_inTick = false;
    std::array<std::optional<Firing>, ScheduleTable::kSize> m_lastFiring;
    int m_preparedFor = -1; // the minute of the day a notice was last got ready for
    // The entry FireSchedule is playing and showing, while it does.
    int m_firing = -1;
    bool m_firingRepeats = false; // weekly or monthly: its tick enables it again
};
