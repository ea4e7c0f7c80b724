#include "EntryTakeOver.h"
#include "ScheduleEntry.h"
#include "ScheduleForm.h"

#include <gtest/gtest.h>

namespace {

LocalTime at(int year, int month, int day, int hour, int minute, int weekday)
{
    return LocalTime{year, month, day, hour, minute, 0, weekday};
}

ScheduleForm formOfKind(int kind)
{
    ScheduleForm form;
    form.m_valid = 1;
    form.m_msg = QStringLiteral("会議");
    form.kindSelection = kind;
    form.m_dayOfMonth = 1;
    return form;
}

TEST(EntryTakeOver, CopiesTheFormAndSetsThisYear)
{
    ScheduleForm form = formOfKind(-1);
    form.m_hour = 24; // not judged here
    form.m_minute = 7;
    form.m_sun = 1;
    form.m_sat = 1;
    form.m_afterAction = 1;
    form.m_dayOfMonth = 0;
    form.soundChoice = ScheduleEntry::WaveFile;
    form.waveFilePath = QStringLiteral("/tmp/ベル.wav");
    ScheduleEntry entry;
    entry.timingOfWeek = 77;
    entry.Next_Sun = 5;
    int thisYear = 1999;

    EXPECT_EQ(StoreEntry(form, entry, thisYear, at(2026, 3, 4, 8, 0, 3)), TakeOverResult::Stored);

    EXPECT_EQ(thisYear, 2026);
    EXPECT_EQ(entry.valid, 1);
    EXPECT_EQ(entry.kind, -1);
    EXPECT_EQ(entry.msg, QStringLiteral("会議"));
    EXPECT_EQ(entry.htime, 24);
    EXPECT_EQ(entry.mtime, 7);
    EXPECT_EQ(entry.Sun, 1);
    EXPECT_EQ(entry.Mon, 0);
    EXPECT_EQ(entry.SAT, 1);
    EXPECT_EQ(entry.bAfterAction, 1);
    EXPECT_EQ(entry.dayOfMonth, 0);
    EXPECT_EQ(entry.sound, ScheduleEntry::WaveFile);
    EXPECT_EQ(entry.waveFilePath, QStringLiteral("/tmp/ベル.wav"));
    // A kind outside the three rules derives nothing.
    EXPECT_EQ(entry.Next_Sun, 5);
    EXPECT_EQ(entry.timingOfWeek, 77);
}

TEST(EntryTakeOver, SoundFollowsTheCheckedRadioButtonOrStays)
{
    for (int choice : {-1, 0, 1, 2}) {
        SCOPED_TRACE(choice);
        ScheduleForm form = formOfKind(0);
        form.soundChoice = choice;
        ScheduleEntry entry;
        entry.sound = 3;
        int thisYear = 0;
        StoreEntry(form, entry, thisYear, at(2026, 3, 4, 8, 0, 3));
        EXPECT_EQ(entry.sound, choice == -1 ? 3 : choice);
    }
}

TEST(EntryTakeOver, WeeklyDayNumbersFromTodaysWeekday)
{
    // 10 April 2026 is day 100; the reading says Wednesday at 12:00.
    const LocalTime wednesdayNoon = at(2026, 4, 10, 12, 0, 3);
    struct Row
    {
        const char *name;
        int ScheduleForm::*flag;
        int ScheduleEntry::*next;
        int hour, minute;
        int expected;
    };
    const Row rows[] = {
        {"Monday", &ScheduleForm::m_mon, &ScheduleEntry::Next_Mon, 9, 0, 105},
        {"Friday", &ScheduleForm::m_fri, &ScheduleEntry::Next_FRI, 9, 0, 102},
        {"Sunday", &ScheduleForm::m_sun, &ScheduleEntry::Next_Sun, 9, 0, 104},
        {"Saturday", &ScheduleForm::m_sat, &ScheduleEntry::Next_SAT, 9, 0, 103},
        {"Wednesday later today", &ScheduleForm::m_wed, &ScheduleEntry::Next_WED, 12, 1, 100},
        {"Wednesday this minute", &ScheduleForm::m_wed, &ScheduleEntry::Next_WED, 12, 0, 107},
        {"Wednesday earlier today", &ScheduleForm::m_wed, &ScheduleEntry::Next_WED, 11, 59, 107},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        ScheduleForm form = formOfKind(0);
        form.*r.flag = 1;
        form.m_tue = 2; // not exactly 1: not chosen
        form.m_hour = r.hour;
        form.m_minute = r.minute;
        ScheduleEntry entry;
        entry.Next_TUE = -42;
        entry.Next_THU = 9;
        int thisYear = 0;
        ASSERT_EQ(StoreEntry(form, entry, thisYear, wednesdayNoon), TakeOverResult::Stored);
        EXPECT_EQ(entry.*r.next, r.expected);
        EXPECT_EQ(entry.Next_TUE, -42);
        EXPECT_EQ(entry.Next_THU, 9);
    }
}

TEST(EntryTakeOver, WeeklyDayNumberMayRunIntoNextYear)
{
    // 31 December 2022, a Saturday, is day 365 of a common year.
    ScheduleForm form = formOfKind(0);
    form.m_sun = 1;
    form.m_sat = 1;
    form.m_hour = 8;
    ScheduleEntry entry;
    int thisYear = 0;
    StoreEntry(form, entry, thisYear, at(2022, 12, 31, 9, 0, 6));
    EXPECT_EQ(entry.Next_Sun, 366);
    EXPECT_EQ(entry.Next_SAT, 372);
    EXPECT_EQ(thisYear, 2022);
}

TEST(EntryTakeOver, MonthlyTimingPointsAtTheNextOccurrence)
{
    struct Row
    {
        const char *name;
        LocalTime now;
        int day, hour, minute;
        int year, month;
    };
    const Row rows[] = {
        {"day still to come", at(2026, 6, 5, 10, 0, 5), 20, 9, 0, 2026, 6},
        {"day passed", at(2026, 6, 25, 10, 0, 4), 20, 9, 0, 2026, 7},
        {"today, later", at(2026, 6, 20, 8, 59, 6), 20, 9, 0, 2026, 6},
        {"today, this minute", at(2026, 6, 20, 9, 0, 6), 20, 9, 0, 2026, 7},
        {"December rolls the year", at(2026, 12, 25, 10, 0, 5), 20, 9, 0, 2027, 1},
        {"31st on April's last day, later", at(2026, 4, 30, 9, 59, 4), 31, 10, 0, 2026, 4},
        {"31st on April's last day, passed", at(2026, 4, 30, 10, 0, 4), 31, 10, 0, 2026, 5},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        ScheduleForm form = formOfKind(1);
        form.m_dayOfMonth = r.day;
        form.m_hour = r.hour;
        form.m_minute = r.minute;
        ScheduleEntry entry;
        entry.timingOfWeek = -8;
        int thisYear = 0;
        ASSERT_EQ(StoreEntry(form, entry, thisYear, r.now), TakeOverResult::Stored);
        EXPECT_EQ(entry.timingOfYear, r.year);
        EXPECT_EQ(entry.timingOfMonth, r.month);
        EXPECT_EQ(entry.timingOfWeek, -8);
    }
}

TEST(EntryTakeOver, OneTimeMomentMustLieAfterTheCurrentMinute)
{
    const LocalTime now = at(2026, 5, 1, 10, 0, 5);
    struct Row
    {
        const char *name;
        int valid;
        QDate date;
        int hour, minute;
        bool refused;
    };
    const Row rows[] = {
        {"today this minute", 1, QDate(2026, 5, 1), 10, 0, true},
        {"today next minute", 1, QDate(2026, 5, 1), 10, 1, false},
        {"today an hour ago", 1, QDate(2026, 5, 1), 9, 30, true},
        {"yesterday late", 1, QDate(2026, 4, 30), 23, 59, true},
        {"last year, later month", 1, QDate(2025, 12, 31), 23, 59, true},
        {"tomorrow at midnight", 1, QDate(2026, 5, 2), 0, 0, false},
        {"no date", 1, QDate(), 23, 0, true},
        {"disabled keeps a past date", 0, QDate(2020, 2, 29), 8, 0, false},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        ScheduleForm form = formOfKind(2);
        form.m_valid = r.valid;
        form.onceDate = r.date;
        form.m_hour = r.hour;
        form.m_minute = r.minute;
        form.soundChoice = ScheduleEntry::NoSound;
        form.waveFilePath = QStringLiteral("new.wav");
        ScheduleEntry entry;
        entry.OnceActionYear = 2030;
        entry.OnceActionMonth = 1;
        entry.OnceActionDay = 2;
        entry.sound = ScheduleEntry::Beep;
        entry.waveFilePath = QStringLiteral("old.wav");
        int thisYear = 0;

        const TakeOverResult result = StoreEntry(form, entry, thisYear, now);

        EXPECT_EQ(thisYear, 2026);
        EXPECT_EQ(entry.htime, r.hour);
        if (r.refused) {
            EXPECT_EQ(result, TakeOverResult::PastMoment);
            EXPECT_EQ(entry.valid, 0);
            EXPECT_EQ(entry.OnceActionYear, 2030);
            EXPECT_EQ(entry.OnceActionMonth, 1);
            EXPECT_EQ(entry.OnceActionDay, 2);
            EXPECT_EQ(entry.sound, ScheduleEntry::Beep);
            EXPECT_EQ(entry.waveFilePath, QStringLiteral("old.wav"));
        } else {
            EXPECT_EQ(result, TakeOverResult::Stored);
            EXPECT_EQ(entry.valid, r.valid);
            EXPECT_EQ(QDate(entry.OnceActionYear, entry.OnceActionMonth, entry.OnceActionDay), r.date);
            EXPECT_EQ(entry.sound, ScheduleEntry::NoSound);
            EXPECT_EQ(entry.waveFilePath, QStringLiteral("new.wav"));
        }
    }
}

} // namespace
