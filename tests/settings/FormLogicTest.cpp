#include "DecimalIntegerReading.h"
#include "EntryTakeOver.h"
#include "EntryValidator.h"
#include "ScheduleEntry.h"
#include "ScheduleForm.h"
#include "SettingsMessages.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace SettingsMessages;

LocalTime at(int year, int month, int day, int hour, int minute, int weekday)
{
    return LocalTime{year, month, day, hour, minute, 0, weekday};
}

ScheduleForm enabledForm(int kind, int hour = 9, int minute = 0)
{
    ScheduleForm form;
    form.m_valid = 1;
    form.m_msg = QStringLiteral("会議");
    form.kindSelection = kind;
    form.m_hour = hour;
    form.m_minute = minute;
    return form;
}

TEST(FormLogic, IntegerEditsReadLikeScanfPercentD)
{
    constexpr int top = std::numeric_limits<int>::max();
    constexpr int bottom = std::numeric_limits<int>::min();
    const std::pair<const char *, std::optional<int>> rows[]
        = {{"12", 12}, {"12abc", 12}, {"007", 7}, {" \t9", 9}, {"-3", -3}, {"+5 min", 5}, {"", std::nullopt},
            {"  ", std::nullopt}, {"abc", std::nullopt}, {"- 3", std::nullopt}, {"+-3", std::nullopt},
            {"１２", std::nullopt}, {"99999999999", top}, {"-99999999999", bottom}, {"-2147483648", bottom}};
    for (const auto &[text, value] : rows)
        EXPECT_EQ(ReadDecimalInteger(QString::fromUtf8(text)), value) << text;
}

TEST(FormLogic, ValidationReportsTheFirstFailingCheck)
{
    struct Row
    {
        int valid, kind;
        const char *msg;
        int hour, minute, day;
        bool weekday;
        const char *refusal;
    };
    const Row rows[] = {{1, 0, "x", 9, 30, 0, true, nullptr}, {1, 1, "x", 0, 0, 31, false, nullptr},
        {1, 2, "x", 9, 0, 0, false, nullptr}, {1, 0, " ", 9, 0, 1, true, nullptr},
        {1, 0, "", 24, 0, 0, false, kNoMessage}, {1, 1, "\n", 9, 0, 1, false, kNoMessage},
        {1, 0, "x", 24, 0, 1, true, kBadTime}, {1, 2, "x", -1, 0, 1, false, kBadTime},
        {1, 1, "x", 23, 60, 15, false, kBadTime}, {1, 0, "x", 25, 0, 1, false, kBadTime},
        {1, 0, "x", 9, 0, 10, false, kNoWeekday}, {1, 1, "x", 9, 0, 0, true, kNoDay},
        {1, 1, "x", 9, 0, 32, true, kNoDay}, {1, -1, "x", 9, 0, 0, false, nullptr},
        {0, 0, "", 24, 99, 0, false, nullptr}, {2, 1, "", 24, 0, 0, false, nullptr}};
    for (const Row &r : rows) {
        ScheduleEntry entry;
        entry.valid = r.valid;
        entry.kind = r.kind;
        entry.msg = QString::fromUtf8(r.msg);
        entry.WED = r.weekday ? 1 : 2; // only exactly 1 is a chosen weekday
        ScheduleForm form;
        form.m_hour = r.hour;
        form.m_minute = r.minute;
        form.m_dayOfMonth = r.day;
        EXPECT_EQ(ValidateEntry(entry, form), r.refusal ? QString::fromUtf8(r.refusal) : QString())
            << "valid " << r.valid << " kind " << r.kind << " msg '" << r.msg << "' " << r.hour << ":"
            << r.minute << " day " << r.day;
    }
}

TEST(FormLogic, WeeklyDayNumberMayRunIntoNextYear)
{
    // 31 December 2022, a Saturday, is day 365; Tuesday is not chosen (2).
    ScheduleForm form = enabledForm(0);
    form.m_sun = 1;
    form.m_tue = 2;
    ScheduleEntry entry;
    entry.Next_TUE = -42;
    int thisYear = 0;
    StoreEntry(form, entry, thisYear, at(2022, 12, 31, 9, 0, 6));
    EXPECT_EQ(entry.Next_Sun, 366);
    EXPECT_EQ(entry.Next_TUE, -42);
    EXPECT_EQ(thisYear, 2022);
}

TEST(FormLogic, MonthlyTimingPointsAtTheNextOccurrence)
{
    struct Row
    {
        LocalTime now;
        int day, year, month;
    };
    // The set time is 10:00.
    const Row rows[] = {{at(2026, 6, 5, 9, 0, 5), 20, 2026, 6}, {at(2026, 6, 25, 9, 0, 4), 20, 2026, 7},
        {at(2026, 6, 20, 9, 59, 6), 20, 2026, 6}, {at(2026, 6, 20, 10, 0, 6), 20, 2026, 7},
        {at(2026, 12, 25, 9, 0, 5), 20, 2027, 1}, {at(2026, 4, 30, 9, 59, 4), 31, 2026, 4},
        {at(2026, 4, 30, 10, 0, 4), 31, 2026, 5}};
    for (const Row &r : rows) {
        ScheduleForm form = enabledForm(1, 10, 0);
        form.m_dayOfMonth = r.day;
        ScheduleEntry entry;
        entry.timingOfWeek = -8;
        int thisYear = 0;
        StoreEntry(form, entry, thisYear, r.now);
        EXPECT_EQ(entry.timingOfYear * 100 + entry.timingOfMonth, r.year * 100 + r.month)
            << r.now.month << "/" << r.now.day << " " << r.now.hour << ":" << r.now.minute << " day "
            << r.day;
        EXPECT_EQ(entry.timingOfWeek, -8);
    }
}

TEST(FormLogic, OneTimeMomentMustLieAfterTheCurrentMinute)
{
    // Now: 1 May 2026, 10:00. A refused entry keeps its date, sound and file.
    struct Row
    {
        int valid;
        QDate date;
        int hour, minute;
        bool refused;
    };
    const Row rows[] = {{1, QDate(2026, 5, 1), 10, 0, true}, {1, QDate(2026, 5, 1), 10, 1, false},
        {1, QDate(2026, 4, 30), 23, 59, true}, {1, QDate(2025, 12, 31), 23, 59, true},
        {1, QDate(2026, 5, 2), 0, 0, false}, {1, QDate(), 23, 0, true}, {0, QDate(2020, 2, 29), 8, 0, false}};
    for (const Row &r : rows) {
        ScheduleForm form = enabledForm(2, r.hour, r.minute);
        form.m_valid = r.valid;
        form.onceDate = r.date;
        form.soundChoice = 0;
        form.waveFilePath = QStringLiteral("new.wav");
        ScheduleEntry entry;
        entry.OnceActionYear = 2030;
        entry.sound = 1;
        int thisYear = 0;
        const TakeOverResult result = StoreEntry(form, entry, thisYear, at(2026, 5, 1, 10, 0, 5));
        SCOPED_TRACE(r.date.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(result == TakeOverResult::PastMoment, r.refused);
        EXPECT_EQ(entry.valid, r.refused ? 0 : r.valid);
        EXPECT_EQ(entry.OnceActionYear, r.refused ? 2030 : r.date.year());
        EXPECT_EQ(entry.sound, r.refused ? 1 : 0);
        EXPECT_EQ(entry.waveFilePath, r.refused ? QString() : QStringLiteral("new.wav"));
        EXPECT_EQ(thisYear, 2026);
    }
}

} // namespace
