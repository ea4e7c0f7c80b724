#include "MissedMessageScanner.h"
#include "CTickwellDoc.h"
#include "CallRecorder.h"
#include "ManualClock.h"
#include "ScheduleMonitor.h"

#include <QStringEncoder>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// The length of text in code page 932 (Shift-JIS): Windows' own conversion
// there (Qt converts no Shift-JIS without ICU), Qt's elsewhere.
int shiftJisBytes(const QString &text)
{
#ifdef Q_OS_WIN
    return WideCharToMultiByte(932, 0, reinterpret_cast<LPCWCH>(text.utf16()), static_cast<int>(text.size()),
        nullptr, 0, nullptr, nullptr);
#else
    QStringEncoder shiftJis("Shift_JIS");
    return shiftJis.isValid() ? static_cast<int>(QByteArray(shiftJis(text)).size()) : -1;
#endif
}

const QString kHeader = QStringLiteral("設定時刻を過ぎてしまった未表示のメッセージです。\r\n設定時刻 : ");

QString secondLine(const QString &report)
{
    return report.split(QStringLiteral("\r\n")).value(1);
}

TEST(MissedMessageReport, TextIsBuiltFromTheFixedPieces)
{
    ScheduleEntry weekly;
    weekly.kind = 0;
    weekly.htime = 9;
    weekly.mtime = 5;
    weekly.msg = QStringLiteral("朝会\r\n資料を持参");
    ScheduleEntry monthly;
    monthly.kind = 1;
    monthly.dayOfMonth = 15;
    monthly.htime = 10;
    monthly.mtime = 30;
    ScheduleEntry once;
    once.kind = 2;
    once.OnceActionYear = 2026;
    once.OnceActionMonth = 3;
    once.OnceActionDay = 5;
    once.htime = 8;
    once.mtime = 0;

    EXPECT_EQ(MissedMessageScanner::ReportText(weekly, 1),
        kHeader + QStringLiteral(" 月曜設定  9 時 5 分\r\n朝会\r\n資料を持参"));
    EXPECT_EQ(secondLine(MissedMessageScanner::ReportText(weekly, 1)),
        QStringLiteral("設定時刻 :  月曜設定  9 時 5 分"));
    EXPECT_EQ(secondLine(MissedMessageScanner::ReportText(monthly, -1)),
        QStringLiteral("設定時刻 : 15 日  10 時 30 分"));
    EXPECT_EQ(secondLine(MissedMessageScanner::ReportText(once, -1)),
        QStringLiteral("設定時刻 : 2026 年 3 月 5 日  8 時 0 分"));
    // A weekday outside 0..6 gives no name; an empty message leaves the last line empty.
    EXPECT_EQ(MissedMessageScanner::ReportText(weekly, 7).section(QStringLiteral("\r\n"), 1, 1),
        QStringLiteral("設定時刻 :  曜設定  9 時 5 分"));
    EXPECT_TRUE(MissedMessageScanner::ReportText(once, -1).endsWith(QStringLiteral("分\r\n")));
    EXPECT_EQ(shiftJisBytes(kHeader), 61);
}

class MissedMessages : public ::testing::Test
{
protected:
    ScheduleEntry &entry(int index) { return doc.schedules[index]; }
    void scanAt(int year, int month, int day, int hour, int minute)
    {
        clock.set(year, month, day, hour, minute);
        scanner.ScanMissedMessages(clock.now());
    }

    CTickwellDoc doc;
    ManualClock clock;
    CallRecorder recorder;
    MissedMessageScanner scanner{doc, recorder, recorder};
};

TEST_F(MissedMessages, OnlyEnabledEntriesMarkedForReportsAreReported)
{
    for (int i = 0; i < 4; ++i) {
        entry(i).kind = 2;
        entry(i).OnceActionYear = 2000;
        entry(i).OnceActionMonth = 1;
        entry(i).OnceActionDay = 1;
    }
    entry(0).valid = 1; // bAfterAction 0
    entry(1).valid = 2;
    entry(1).bAfterAction = 1;
    entry(2).valid = 1;
    entry(2).bAfterAction = 2;
    entry(3).valid = 0;
    entry(3).bAfterAction = 1;
    scanAt(2026, 12, 7, 12, 0);
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(MissedMessages, TwoWeeksAwayReportsEachFlaggedWeekdayOnceInOrder)
{
    // Away from Friday 20 November 2026 until Monday 7 December 2026, 10:00.
    ScheduleEntry &e = entry(4);
    e.valid = 1;
    e.bAfterAction = 1;
    e.htime = 9;
    e.Mon = e.WED = e.FRI = 1;
    doc.THIS_YEAR = 2026;
    e.Next_Mon = 327; // 23 November
    e.Next_WED = 329; // 25 November
    e.Next_FRI = 331; // 27 November
    scanAt(2026, 12, 7, 10, 0);
    ASSERT_EQ(recorder.notices().size(), 3u);
    EXPECT_TRUE(recorder.notices()[0].contains(QStringLiteral(" 月曜設定 ")));
    EXPECT_TRUE(recorder.notices()[1].contains(QStringLiteral(" 水曜設定 ")));
    EXPECT_TRUE(recorder.notices()[2].contains(QStringLiteral(" 金曜設定 ")));
    EXPECT_EQ(recorder.soundIndexes(), (std::vector<int>{4, 4, 4}));
    EXPECT_EQ(recorder.calls[0].kind, CallRecorder::Call::Sound) << "the sound comes before its window";
    EXPECT_EQ(e.Next_Mon, 341 + 7); // today (day 341) at 9:00 has passed
    EXPECT_EQ(e.Next_WED, 343);
    EXPECT_EQ(e.Next_FRI, 345);
    recorder.calls.clear();
    scanAt(2026, 12, 7, 10, 1);
    EXPECT_TRUE(recorder.calls.empty()) << "each occurrence is reported once";
}

TEST_F(MissedMessages, WeeklyDueTodayIsMissedOnlyAfterItsMinute)
{
    // Wednesday 9 December 2026 is day 343.
    ScheduleEntry &e = entry(0);
    e.valid = e.bAfterAction = e.WED = 1;
    e.htime = 9;
    e.Next_WED = 343;
    scanAt(2026, 12, 9, 9, 0);
    EXPECT_TRUE(recorder.calls.empty());
    scanAt(2026, 12, 9, 9, 1);
    EXPECT_EQ(recorder.notices().size(), 1u);
    EXPECT_EQ(e.Next_WED, 350);
}

TEST_F(MissedMessages, StartBeforeTheSetTimeReportsLastWeekAndStillFiresToday)
{
    ScheduleEntry &e = entry(0);
    e.valid = e.bAfterAction = e.WED = 1;
    e.htime = 9;
    e.Next_WED = 336; // Wednesday 2 December, missed
    doc.THIS_YEAR = 2026;
    ScheduleMonitor monitor(doc, clock, recorder, recorder);
    clock.set(2026, 12, 9, 8, 0);
    monitor.OnTimer();
    EXPECT_EQ(recorder.notices().size(), 1u);
    EXPECT_EQ(e.Next_WED, 343) << "today: 9:00 is still ahead";
    clock.set(2026, 12, 9, 8, 59);
    monitor.OnTimer();
    clock.set(2026, 12, 9, 9, 0);
    monitor.OnTimer();
    ASSERT_EQ(recorder.notices().size(), 2u);
    EXPECT_EQ(recorder.notices()[1], e.msg);
    EXPECT_EQ(e.Next_WED, 350);
}

TEST_F(MissedMessages, OneTimeEntryIsReportedOnceAndDisabled)
{
    struct Row
    {
        int hour, minute;
        bool reported;
    };
    for (const Row &r : {Row{8, 1, true}, Row{12, 0, true}, Row{8, 0, false}, Row{7, 59, false}}) {
        SCOPED_TRACE(testing::Message() << r.hour << ":" << r.minute);
        recorder.calls.clear();
        ScheduleEntry &e = entry(0);
        e.kind = 2;
        e.valid = e.bAfterAction = 1;
        e.OnceActionYear = 2026;
        e.OnceActionMonth = 3;
        e.OnceActionDay = 5;
        e.htime = 8;
        e.mtime = 0;
        scanAt(2026, 3, 5, r.hour, r.minute);
        scanAt(2026, 3, 5, r.hour, r.minute);
        EXPECT_EQ(recorder.notices().size(), r.reported ? 1u : 0u);
        EXPECT_EQ(e.valid, r.reported ? 0 : 1);
        EXPECT_EQ(e.OnceActionDay, 5);
    }
}

TEST_F(MissedMessages, MonthlyReportMovesTheTimingToTheNextOccurrence)
{
    struct Row
    {
        int day;
        int month;
    };
    for (const Row &r : {Row{5, 6}, Row{25, 7}}) {
        SCOPED_TRACE(r.day);
        recorder.calls.clear();
        ScheduleEntry &e = entry(2);
        e.kind = 1;
        e.valid = e.bAfterAction = 1;
        e.dayOfMonth = 20;
        e.htime = 10;
        e.timingOfYear = 2026;
        e.timingOfMonth = 3;
        scanAt(2026, 6, r.day, 12, 0);
        scanAt(2026, 6, r.day, 12, 1);
        EXPECT_EQ(recorder.notices().size(), 1u);
        EXPECT_EQ(e.timingOfYear, 2026);
        EXPECT_EQ(e.timingOfMonth, r.month);
    }
}

TEST_F(MissedMessages, TwoMissedOneTimeEntriesAreBothReportedInTheFirstTick)
{
    for (int i : {3, 7}) {
        entry(i).kind = 2;
        entry(i).valid = entry(i).bAfterAction = 1;
        entry(i).OnceActionYear = 2026;
        entry(i).OnceActionMonth = 1;
        entry(i).OnceActionDay = 10 + i;
        entry(i).msg = QStringLiteral("予定%1").arg(i);
    }
    clock.set(2026, 2, 1, 12, 0);
    ScheduleMonitor monitor(doc, clock, recorder, recorder);
    monitor.OnTimer();
    EXPECT_EQ(recorder.soundIndexes(), (std::vector<int>{3, 7}));
    EXPECT_EQ(entry(3).valid, 0);
    EXPECT_EQ(entry(7).valid, 0);
}

} // namespace
