// The real program on a clock moved by libfaketime: New Year, the wall clock
// set back an hour and forward a day while it runs, and the clock changes of
// New York (an hour twice) and Lord Howe Island (half an hour skipped). The
// notice windows are counted from outside, and the store saved at the end
// must name the right next dates.
#include "AppDesktopFixture.h"
#include "CalendarRules.h"
#include "FakeClock.h"
#include "Figures.h"
#include "ProgramWindows.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTest>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using namespace DesktopProbe;

int noticeCount()
{
    return static_cast<int>(tickwellWindows().size());
}

struct Travel
{
    const char *name;
    const char *zone;
    // The clock's settings: the first before the start, each later one once
    // the notices counted so far have appeared.
    std::vector<std::pair<QDateTime, int>> clock; // local time, notices expected by then
    std::function<void(CTickwellDoc &)> table;
    std::vector<std::pair<const char *, int>> saved;
};

QDateTime at(const char *zone, int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), QTimeZone(zone));
}

// One of the two passes through a repeated hour, told apart by the offset
// from UTC.
QDateTime atOffset(int y, int mo, int d, int h, int mi, int s, int offsetSeconds)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), QTimeZone(offsetSeconds));
}

ScheduleEntry &entry(CTickwellDoc &doc, int number, int kind, int hour, int minute, int afterAction)
{
    ScheduleEntry &e = doc.schedules[number - 1];
    e.valid = 1;
    e.kind = kind;
    e.htime = hour;
    e.mtime = minute;
    e.bAfterAction = afterAction;
    e.sound = ScheduleEntry::NoSound;
    e.msg = QStringLiteral("予定%1").arg(number);
    return e;
}

std::vector<Travel> travels()
{
    return {
        {"New Year", "Asia/Tokyo", {{at("Asia/Tokyo", 2025, 12, 31, 23, 59, 56), 2}},
            [](CTickwellDoc &doc) {
                doc.THIS_YEAR = 2025;
                ScheduleEntry &weekly = entry(doc, 1, 0, 0, 0, 1);
                weekly.THU = 1; // 1 January 2026
                weekly.Next_THU = 366;
                ScheduleEntry &once = entry(doc, 2, 2, 0, 0, 0);
                once.OnceActionYear = 2026;
                once.OnceActionMonth = 1;
                once.OnceActionDay = 1;
            },
            {{"THIS_YEAR/THIS_YEAR", 2026}, {"Schedule1/Next_THU", 8}, {"Schedule2/valid", 0}}},
        {"clock set back an hour, then forward a day", "Asia/Tokyo",
            {{at("Asia/Tokyo", 2026, 3, 2, 9, 59, 56), 2}, {at("Asia/Tokyo", 2026, 3, 2, 9, 0, 30), 2},
                {at("Asia/Tokyo", 2026, 3, 2, 9, 59, 56), 2}, {at("Asia/Tokyo", 2026, 3, 3, 9, 59, 56), 4}},
            [](CTickwellDoc &doc) {
                doc.THIS_YEAR = 2026;
                ScheduleEntry &daily = entry(doc, 1, 0, 10, 0, 1);
                daily.Mon = daily.TUE = 1;
                daily.Next_Mon = 61; // Monday 2 March
                daily.Next_TUE = 62;
                ScheduleEntry &once = entry(doc, 2, 2, 10, 0, 1);
                once.OnceActionYear = 2026;
                once.OnceActionMonth = 3;
                once.OnceActionDay = 2;
                ScheduleEntry &skipped = entry(doc, 3, 0, 9, 30, 1);
                skipped.TUE = 1;
                skipped.Next_TUE = 62;
            },
            {{"Schedule1/Next_Mon", 68}, {"Schedule1/Next_TUE", 69}, {"Schedule2/valid", 0},
                {"Schedule3/Next_TUE", 69}}},
        {"New York, 1:00 to 2:00 twice", "America/New_York",
            {{atOffset(2026, 11, 1, 1, 29, 56, -4 * 3600), 2},
                {atOffset(2026, 11, 1, 1, 29, 56, -5 * 3600), 2}},
            [](CTickwellDoc &doc) {
                doc.THIS_YEAR = 2026;
                ScheduleEntry &weekly = entry(doc, 1, 0, 1, 30, 1);
                weekly.Sun = weekly.Mon = 1;
                weekly.Next_Sun = 305; // Sunday 1 November
                weekly.Next_Mon = 306;
                ScheduleEntry &once = entry(doc, 2, 2, 1, 30, 1);
                once.OnceActionYear = 2026;
                once.OnceActionMonth = 11;
                once.OnceActionDay = 1;
            },
            {{"Schedule1/Next_Sun", 312}, {"Schedule2/valid", 0}}},
        {"Lord Howe Island, 2:00 to 2:30 skipped", "Australia/Lord_Howe",
            {{at("Australia/Lord_Howe", 2026, 10, 4, 1, 59, 56), 2}},
            [](CTickwellDoc &doc) {
                doc.THIS_YEAR = 2026;
                ScheduleEntry &reported = entry(doc, 1, 0, 2, 15, 1);
                reported.Sun = 1;
                reported.Next_Sun = 277; // Sunday 4 October
                ScheduleEntry &fires = entry(doc, 2, 0, 2, 30, 0);
                fires.Sun = 1;
            },
            {{"Schedule1/Next_Sun", 284}, {"Schedule2/Next_Sun", 284}}},
    };
}

TEST_F(AppDesktopTest, FakedClockNothingTwiceNothingLostRightDatesSaved)
{
    ASSERT_TRUE(FakeClock::available()) << "libfaketime is not installed";
    const std::vector<Travel> all = travels();
    const int count = trialCount(1, static_cast<int>(all.size()));
    int windows = 0, expectedWindows = 0, datesRight = 0, datesChecked = 0;
    for (int t = 0; t < count; ++t) {
        const Travel &travel = all[static_cast<std::size_t>(t)];
        SCOPED_TRACE(travel.name);
        CTickwellDoc doc;
        travel.table(doc);
        writeStore(doc);

        FakeClock clock(QDir(home.runtime.path()).filePath(QStringLiteral("faketime")));
        clock.set(travel.clock.front().first);
        std::optional<FakeClock::Scope> faked(std::in_place, clock, travel.zone);
        TickwellProcess &copy = startRunning();
        faked.reset();
        ASSERT_TRUE(icon) << copy.errorOutput().toStdString();

        for (std::size_t step = 0; step < travel.clock.size(); ++step) {
            if (step > 0)
                clock.set(travel.clock[step].first);
            const int expected = travel.clock[step].second;
            EXPECT_TRUE(waitUntil([&] { return noticeCount() >= expected; }, 12000))
                << "step " << step << ": " << noticeCount() << " notices, expected " << expected;
            // Long enough for a minute that should not fire again to do so.
            QTest::qWait(trialCount(4500, 6000));
            EXPECT_EQ(noticeCount(), expected) << "step " << step;
        }
        windows += noticeCount();
        expectedWindows += travel.clock.back().second;

        copy.signal(SIGTERM);
        ASSERT_TRUE(copy.waitForExit(8000));
        copies.clear();
        ASSERT_TRUE(waitUntil([] { return trayIcons().empty() && noticeCount() == 0; }, 5000));
        const auto store = readStore();
        for (const auto &[key, value] : travel.saved) {
            EXPECT_EQ(store->value(QLatin1String(key)).toInt(), value) << key;
            datesRight += store->value(QLatin1String(key)).toInt() == value ? 1 : 0;
            ++datesChecked;
        }
    }
    recordFigure(QStringLiteral("time travel of the real program (libfaketime)"),
        QStringLiteral(
            "%1 runs (New Year; set back an hour and forward a day; New York's repeated hour; Lord "
            "Howe's skipped half hour), %2 notice windows expected")
            .arg(count)
            .arg(expectedWindows),
        QStringLiteral("%1: %2 notice windows seen, %3 of %4 saved dates right")
            .arg(windows == expectedWindows && datesRight == datesChecked ? QStringLiteral("nothing")
                                                                          : QStringLiteral("LOST"))
            .arg(windows)
            .arg(datesRight)
            .arg(datesChecked));
}

} // namespace
