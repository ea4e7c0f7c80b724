#include "ScheduleMonitor.h"
#include "CTickwellDoc.h"
#include "CalendarRules.h"
#include "CallRecorder.h"
#include "ManualClock.h"

#include <QDate>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

class Monitor : public ::testing::Test
{
protected:
    ScheduleEntry &entry(int index) { return doc.schedules[index]; }
    void tickAt(int year, int month, int day, int hour, int minute, int second = 0)
    {
        clock.set(year, month, day, hour, minute, second);
        monitor.OnTimer();
    }
    ScheduleEntry &weekly(int index, int hour, int minute)
    {
        ScheduleEntry &e = entry(index);
        e.valid = 1;
        e.kind = 0;
        e.htime = hour;
        e.mtime = minute;
        e.msg = QStringLiteral("予定%1").arg(index + 1);
        return e;
    }
    ScheduleEntry &monthly(int index, int dayOfMonth, int hour, int minute, int year, int month)
    {
        ScheduleEntry &e = entry(index);
        e.valid = 1;
        e.kind = 1;
        e.dayOfMonth = dayOfMonth;
        e.htime = hour;
        e.mtime = minute;
        e.timingOfYear = year;
        e.timingOfMonth = month;
        return e;
    }

    CTickwellDoc doc;
    ManualClock clock;
    CallRecorder recorder;
    ScheduleMonitor monitor{doc, clock, recorder, recorder};
};

TEST_F(Monitor, OnlyTheMinuteOfTheHourIsCompared)
{
    doc.THIS_YEAR = 2026;
    ScheduleEntry &e = weekly(0, 11, 5);
    e.weekdayFlag(1) = 1; // Monday 7 December 2026
    tickAt(2026, 12, 7, 10, 5);
    EXPECT_EQ(monitor.lastMinute(), 5);
    tickAt(2026, 12, 7, 11, 5, 30); // after a suspend: same minute of the hour
    EXPECT_TRUE(recorder.calls.empty());
    tickAt(2026, 12, 7, 11, 6);
    EXPECT_EQ(monitor.lastMinute(), 6);
    EXPECT_TRUE(recorder.calls.empty()) << "11:05 was never processed";
}

TEST_F(Monitor, MonthlyDayFallsOnTheLastDayOfShorterMonths)
{
    struct Row
    {
        int dayOfMonth;
        int year;
        std::vector<QDate> expected;
    };
    const Row rows[] = {
        {31, 2024,
            {QDate(2024, 1, 31), QDate(2024, 2, 29), QDate(2024, 3, 31), QDate(2024, 4, 30),
                QDate(2024, 5, 31), QDate(2024, 6, 30), QDate(2024, 7, 31), QDate(2024, 8, 31),
                QDate(2024, 9, 30), QDate(2024, 10, 31), QDate(2024, 11, 30), QDate(2024, 12, 31)}},
        {30, 2025,
            {QDate(2025, 1, 30), QDate(2025, 2, 28), QDate(2025, 3, 30), QDate(2025, 4, 30),
                QDate(2025, 5, 30), QDate(2025, 6, 30), QDate(2025, 7, 30), QDate(2025, 8, 30),
                QDate(2025, 9, 30), QDate(2025, 10, 30), QDate(2025, 11, 30), QDate(2025, 12, 30)}},
        {29, 2024,
            {QDate(2024, 1, 29), QDate(2024, 2, 29), QDate(2024, 3, 29), QDate(2024, 4, 29),
                QDate(2024, 5, 29), QDate(2024, 6, 29), QDate(2024, 7, 29), QDate(2024, 8, 29),
                QDate(2024, 9, 29), QDate(2024, 10, 29), QDate(2024, 11, 29), QDate(2024, 12, 29)}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << "day " << r.dayOfMonth << " in " << r.year);
        CTickwellDoc d;
        d.THIS_YEAR = r.year;
        CallRecorder calls;
        ScheduleMonitor m(d, clock, calls, calls);
        d.schedules[0].valid = 1;
        d.schedules[0].kind = 1;
        d.schedules[0].dayOfMonth = r.dayOfMonth;
        d.schedules[0].htime = 10;
        d.schedules[0].timingOfYear = r.year;
        d.schedules[0].timingOfMonth = 1;
        std::vector<QDate> fired;
        for (QDate day(r.year, 1, 1); day.year() == r.year; day = day.addDays(1)) {
            for (int minute : {59, 0}) {
                clock.set(QDateTime(day, QTime(minute == 59 ? 9 : 10, minute)));
                const std::size_t before = calls.notices().size();
                m.OnTimer();
                if (calls.notices().size() > before)
                    fired.push_back(day);
            }
        }
        EXPECT_EQ(fired, r.expected);
    }
}

TEST_F(Monitor, MonthlyEntryWaitsForItsTimingMonth)
{
    monthly(0, 7, 9, 0, 2027, 1);
    tickAt(2026, 12, 7, 9, 0);
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_EQ(entry(0).timingOfMonth, 1);
}

TEST_F(Monitor, WeeklyFiresOnEveryFlaggedWeekdayAndMovesItsDayNumber)
{
    doc.THIS_YEAR = 2026;
    ScheduleEntry &e = weekly(1, 8, 30);
    e.Mon = e.FRI = 1;
    std::vector<QDate> fired;
    for (QDate day(2026, 12, 1); day <= QDate(2026, 12, 31); day = day.addDays(1)) {
        const std::size_t before = recorder.notices().size();
        clock.set(QDateTime(day, QTime(8, 29)));
        monitor.OnTimer();
        clock.set(QDateTime(day, QTime(8, 30)));
        monitor.OnTimer();
        if (recorder.notices().size() > before)
            fired.push_back(day);
        EXPECT_EQ(e.valid, 1);
    }
    const std::vector<QDate> expected
        = {QDate(2026, 12, 4), QDate(2026, 12, 7), QDate(2026, 12, 11), QDate(2026, 12, 14),
            QDate(2026, 12, 18), QDate(2026, 12, 21), QDate(2026, 12, 25), QDate(2026, 12, 28)};
    EXPECT_EQ(fired, expected);
    EXPECT_EQ(e.Next_Mon, DayOfYear(28, 12, 2026) + 7); // 28 December is day 362
    EXPECT_EQ(e.Next_Mon, 369);
}

TEST_F(Monitor, OneTimeEntryFiresOnceAndStaysDisabled)
{
    ScheduleEntry &e = entry(5);
    e.valid = 1;
    e.kind = 2;
    e.OnceActionYear = 2026;
    e.OnceActionMonth = 12;
    e.OnceActionDay = 24;
    e.htime = 18;
    tickAt(2026, 12, 24, 18, 0);
    tickAt(2026, 12, 24, 18, 1);
    tickAt(2026, 12, 24, 18, 0, 0); // the clock set back: still nothing
    EXPECT_EQ(recorder.soundIndexes(), std::vector<int>{5});
    EXPECT_EQ(e.valid, 0);
    EXPECT_EQ(e.OnceActionDay, 24);
}

TEST_F(Monitor, EntriesThatAreNotExactlyEnabledOrOfNoKindNeverFire)
{
    for (int i = 0; i < 3; ++i) {
        ScheduleEntry &e = weekly(i, 9, 0);
        e.Mon = 1;
        e.bAfterAction = 1;
    }
    entry(0).valid = 2;
    entry(1).valid = 0;
    entry(2).kind = 3;
    entry(3).valid = 1;
    entry(3).kind = 0;
    entry(3).Mon = 2; // flags count only when exactly 1
    tickAt(2026, 12, 7, 9, 0);
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(Monitor, EntriesDueInTheSameMinuteFireInIndexOrderSoundFirst)
{
    doc.THIS_YEAR = 2026;
    for (int i : {7, 2, 9}) {
        weekly(i, 12, 0).Mon = 1;
        entry(i).sound = i;
    }
    tickAt(2026, 12, 7, 12, 0);
    ASSERT_EQ(recorder.calls.size(), 6u);
    const int order[] = {2, 7, 9};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(recorder.calls[2 * k].kind, CallRecorder::Call::Sound);
        EXPECT_EQ(recorder.calls[2 * k].index, order[k]);
        EXPECT_EQ(recorder.calls[2 * k + 1].text, QStringLiteral("予定%1").arg(order[k] + 1));
    }
}

TEST_F(Monitor, RepeatedHourDoesNotFireTwice)
{
    doc.THIS_YEAR = 2026;
    weekly(0, 1, 30).SAT = 1; // Saturday 31 October 2026
    tickAt(2026, 10, 31, 1, 30);
    tickAt(2026, 10, 31, 1, 31);
    tickAt(2026, 10, 31, 1, 0); // clocks go back an hour
    tickAt(2026, 10, 31, 1, 30);
    EXPECT_EQ(recorder.soundIndexes(), std::vector<int>{0});
    EXPECT_EQ(entry(0).valid, 1);
    tickAt(2026, 11, 7, 1, 29);
    tickAt(2026, 11, 7, 1, 30); // a week later it fires again
    EXPECT_EQ(recorder.soundIndexes(), (std::vector<int>{0, 0}));
}

TEST_F(Monitor, MonthlyTimingLeftBehindIsMovedOnSilently)
{
    struct Row
    {
        const char *name;
        int bAfterAction;
        int timingMonth;
        int tickDay;
        int reports;
        int firings;
        bool earlierTick = true; // a tick on 5 June before the one on the day
    };
    const Row rows[] = {
        {"left behind, no reports: fires on its day", 0, 3, 20, 0, 1},
        {"left behind, reported when missed", 1, 3, 20, 1, 1},
        {"this month at the due minute", 0, 6, 20, 0, 1},
        // The first tick of a run falls in the due minute: the timing moved
        // on from a past month must stop at this one.
        {"left behind, no reports, first tick at the due minute", 0, 3, 20, 0, 1, false},
        {"left behind, reported, first tick at the due minute", 1, 3, 20, 1, 1, false},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        CTickwellDoc d;
        CallRecorder calls;
        ScheduleMonitor m(d, clock, calls, calls);
        ScheduleEntry &e = d.schedules[0];
        e.valid = 1;
        e.kind = 1;
        e.bAfterAction = r.bAfterAction;
        e.dayOfMonth = 20;
        e.htime = 10;
        e.timingOfYear = 2026;
        e.timingOfMonth = r.timingMonth;
        if (r.earlierTick) {
            clock.set(2026, 6, 5, 12, 1); // start of the run
            m.OnTimer();
        }
        clock.set(2026, 6, r.tickDay, 10, 0);
        m.OnTimer();
        int reports = 0;
        for (const QString &text : calls.notices())
            reports += text.startsWith(QStringLiteral("設定時刻を過ぎて")) ? 1 : 0;
        EXPECT_EQ(reports, r.reports);
        EXPECT_EQ(static_cast<int>(calls.notices().size()) - reports, r.firings);
        EXPECT_EQ(e.timingOfMonth, 7);
    }
}

TEST_F(Monitor, AtTheDueMinuteTheScanDoesNotCallItMissed)
{
    doc.THIS_YEAR = 2026;
    ScheduleEntry &e = weekly(0, 9, 0);
    e.Mon = 1;
    e.bAfterAction = 1;
    e.Next_Mon = DayOfYear(7, 12, 2026);
    tickAt(2026, 12, 7, 9, 0);
    ASSERT_EQ(recorder.notices().size(), 1u);
    EXPECT_EQ(recorder.notices()[0], e.msg);
}

TEST_F(Monitor, ATickInsideAMessageBoxLoopDoesNothing)
{
    doc.THIS_YEAR = 2026;
    weekly(0, 9, 0).Mon = 1;
    weekly(1, 9, 1).Mon = 1;
    int nested = 0;
    recorder.duringSound = [&](int) {
        ++nested;
        clock.set(2026, 12, 7, 9, 1);
        monitor.OnTimer();
    };
    tickAt(2026, 12, 7, 9, 0);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(recorder.soundIndexes(), std::vector<int>{0});
    EXPECT_EQ(monitor.lastMinute(), 0);
}

} // namespace
