// The wall clock set back an hour or forward a day while the program runs,
// which tickwell-sim's clock (always forward) cannot express: the monitor on
// a test clock, ticked every 20 seconds, with the jumps in between.
#include "CTickwellDoc.h"
#include "EntrySoundPlayer.h"
#include "Figures.h"
#include "ManualClock.h"
#include "NoticePresenter.h"
#include "ScheduleMonitor.h"

#include <QDateTime>
#include <QTimeZone>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Keeps "<schedule> fire|report <time>" for every notice, timed by the clock.
class Events final : public EntrySoundPlayer, public NoticePresenter
{
public:
    explicit Events(const ManualClock &clock)
        : m_clock(clock)
    {
    }
    void PlayEntrySound(int index) override { m_sound = index + 1; }
    void ShowNotice(const QString &text) override
    {
        const bool report
            = text.startsWith(QStringLiteral("設定時刻を過ぎてしまった未表示のメッセージです。"));
        list.push_back(QStringLiteral("%1 %2 %3")
                           .arg(m_sound)
                           .arg(report ? QStringLiteral("report") : QStringLiteral("fire"),
                               m_clock.dateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm"))));
        m_sound = 0;
    }
    std::vector<QString> list;

private:
    const ManualClock &m_clock;
    int m_sound = 0;
};

QDateTime at(const char *text)
{
    QDateTime t = QDateTime::fromString(QLatin1String(text), Qt::ISODate);
    t.setTimeZone(QTimeZone::utc()); // the fields as given; no zone of the machine
    return t;
}

struct Jump
{
    const char *name;
    // Stretches of running time, "FROM/TO"; between two of them the clock is set.
    std::vector<const char *> stretches;
    std::function<void(CTickwellDoc &)> table;
    std::vector<const char *> expected;
    std::function<void(const CTickwellDoc &)> bookkeeping;
};

ScheduleEntry &entry(CTickwellDoc &doc, int number, int kind, int hour, int minute, int afterAction)
{
    ScheduleEntry &e = doc.schedules[number - 1];
    e.valid = 1;
    e.kind = kind;
    e.htime = hour;
    e.mtime = minute;
    e.bAfterAction = afterAction;
    e.msg = QStringLiteral("予定%1").arg(number);
    return e;
}

const Jump kJumps[] = {
    {"set back an hour in the morning",
        {"2026-03-02T09:00:00/2026-03-02T10:30:00", "2026-03-02T09:30:00/2026-03-02T11:30:00"},
        [](CTickwellDoc &doc) {
            doc.THIS_YEAR = 2026;
            ScheduleEntry &weekly = entry(doc, 1, 0, 9, 45, 1);
            weekly.Mon = 1;
            weekly.Next_Mon = 61;
            ScheduleEntry &monthly = entry(doc, 2, 1, 10, 15, 1);
            monthly.dayOfMonth = 2;
            monthly.timingOfYear = 2026;
            monthly.timingOfMonth = 3;
            ScheduleEntry &once = entry(doc, 3, 2, 9, 50, 1);
            once.OnceActionYear = 2026;
            once.OnceActionMonth = 3;
            once.OnceActionDay = 2;
            entry(doc, 4, 0, 10, 45, 0).Mon = 1;
        },
        {"1 fire 2026-03-02T09:45", "3 fire 2026-03-02T09:50", "2 fire 2026-03-02T10:15",
            "4 fire 2026-03-02T10:45"},
        [](const CTickwellDoc &doc) {
            EXPECT_EQ(doc.schedules[0].Next_Mon, 68);
            EXPECT_EQ(doc.schedules[1].timingOfMonth, 4);
            EXPECT_EQ(doc.schedules[2].valid, 0);
        }},
    {"set back an hour across New Year",
        {"2025-12-31T23:00:00/2026-01-01T00:30:00", "2025-12-31T23:30:00/2026-01-01T01:00:00"},
        [](CTickwellDoc &doc) {
            doc.THIS_YEAR = 2025;
            ScheduleEntry &weekly = entry(doc, 1, 0, 23, 45, 1);
            weekly.WED = 1; // 31 December 2025
            weekly.Next_WED = 365;
            ScheduleEntry &newYear = entry(doc, 2, 0, 0, 15, 1);
            newYear.THU = 1; // 1 January 2026
            newYear.Next_THU = 366;
            ScheduleEntry &once = entry(doc, 3, 2, 0, 10, 1);
            once.OnceActionYear = 2026;
            once.OnceActionMonth = 1;
            once.OnceActionDay = 1;
        },
        {"1 fire 2025-12-31T23:45", "3 fire 2026-01-01T00:10", "2 fire 2026-01-01T00:15"},
        [](const CTickwellDoc &doc) {
            EXPECT_EQ(doc.THIS_YEAR, 2026);
            EXPECT_EQ(doc.schedules[0].Next_WED, 7); // 7 January 2026
            EXPECT_EQ(doc.schedules[1].Next_THU, 8); // 8 January 2026
            EXPECT_EQ(doc.schedules[2].valid, 0);
        }},
    {"forward a day", {"2026-03-02T10:00:00/2026-03-02T10:30:00", "2026-03-03T10:30:00/2026-03-03T12:00:00"},
        [](CTickwellDoc &doc) {
            doc.THIS_YEAR = 2026;
            ScheduleEntry &reported = entry(doc, 1, 0, 20, 0, 1);
            reported.Mon = 1;
            reported.Next_Mon = 61;
            ScheduleEntry &lost = entry(doc, 2, 0, 20, 0, 0);
            lost.Mon = 1;
            ScheduleEntry &monthly = entry(doc, 3, 1, 8, 0, 1);
            monthly.dayOfMonth = 3;
            monthly.timingOfYear = 2026;
            monthly.timingOfMonth = 3;
            ScheduleEntry &later = entry(doc, 4, 0, 11, 0, 1);
            later.TUE = 1;
            later.Next_TUE = 62;
        },
        // A day later is the same minute of the hour, which the monitor takes for
        // the minute it has handled: the reports come one minute on.
        {"1 report 2026-03-03T10:31", "3 report 2026-03-03T10:31", "4 fire 2026-03-03T11:00"},
        [](const CTickwellDoc &doc) {
            EXPECT_EQ(doc.schedules[0].Next_Mon, 68);
            EXPECT_EQ(doc.schedules[2].timingOfMonth, 4);
            EXPECT_EQ(doc.schedules[3].Next_TUE, 69);
        }},
    {"forward a day into a new year",
        {"2025-12-31T10:00:00/2025-12-31T10:30:00", "2026-01-01T10:30:00/2026-01-01T11:30:00"},
        [](CTickwellDoc &doc) {
            doc.THIS_YEAR = 2025;
            ScheduleEntry &weekly = entry(doc, 1, 0, 9, 0, 1);
            weekly.THU = 1; // 1 January 2026
            weekly.Next_THU = 366;
            ScheduleEntry &evening = entry(doc, 2, 0, 18, 0, 1);
            evening.WED = 1; // 31 December 2025
            evening.Next_WED = 365;
        },
        {"1 report 2026-01-01T10:31", "2 report 2026-01-01T10:31"},
        [](const CTickwellDoc &doc) {
            EXPECT_EQ(doc.THIS_YEAR, 2026);
            EXPECT_EQ(doc.schedules[0].Next_THU, 8);
            EXPECT_EQ(doc.schedules[1].Next_WED, 7);
        }},
};

TEST(ClockJump, NothingTwiceNothingLostWhenTheClockIsSet)
{
    int total = 0;
    int wrong = 0;
    for (const Jump &jump : kJumps) {
        SCOPED_TRACE(jump.name);
        CTickwellDoc doc;
        jump.table(doc);
        ManualClock clock;
        Events events(clock);
        ScheduleMonitor monitor(doc, clock, events, events);
        for (const char *stretch : jump.stretches) {
            const QList<QByteArray> ends = QByteArray(stretch).split('/');
            const QDateTime to = at(ends[1].constData());
            for (QDateTime t = at(ends[0].constData()); t <= to; t = t.addSecs(20)) {
                clock.set(t);
                monitor.OnTimer();
            }
        }
        std::vector<QString> expected;
        for (const char *event : jump.expected)
            expected.push_back(QLatin1String(event));
        EXPECT_EQ(events.list, expected);
        wrong += events.list == expected ? 0 : 1;
        total += static_cast<int>(expected.size());
        jump.bookkeeping(doc);
    }
    recordFigure(QStringLiteral("wall clock set while running (monitor, test clock)"),
        QStringLiteral("%1 jumps (back an hour, back an hour across New Year, forward a day, forward a day "
                       "into a new year); %2 firings and reports expected")
            .arg(std::size(kJumps))
            .arg(total),
        wrong == 0 ? QStringLiteral("nothing: no occurrence twice, none lost")
                   : QStringLiteral("%1 jumps wrong").arg(wrong));
}

} // namespace
