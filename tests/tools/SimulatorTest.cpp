// tickwell-sim run as a user would run it: a store file, a time zone, a
// stretch of time, and the JSON lines it prints.
#include "CTickwellDoc.h"
#include "CalendarRules.h"
#include "ScheduleStore.h"
#include "SettingsLauncher.h"
#include "SettingsProfileStore.h"

#include <QDate>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "QStringPrinter.h"
#include "ZoneForChildProcess.h"

#include <gtest/gtest.h>

namespace {

struct Call
{
    QString at;
    QString call;
    int schedule = 0;
    QString text;
};

struct SimRun
{
    int status = -1;
    std::vector<Call> calls;
    QString errors;
};

class Simulator : public ::testing::Test
{
protected:
    Simulator() { doc.THIS_YEAR = 2026; }

    QString storePath() const { return dir.filePath(QStringLiteral("Tickwell.conf")); }

    void writeStore()
    {
        SettingsProfileStore profile(storePath());
        ScheduleStore store(profile);
        ScheduleTable table = doc.schedules;
        ASSERT_TRUE(store.StoreTable(table, doc));
    }

    void readStore(CTickwellDoc &loaded)
    {
        SettingsProfileStore profile(storePath());
        ScheduleStore store(profile);
        struct NoDialog final : SettingsLauncher
        {
            void OpenSettings(const LocalTime &) override { }
        } noDialog;
        store.LoadSchedules(loaded, LocalTime{2026, 1, 1, 0, 0, 0, 4}, noDialog);
    }

    SimRun run(const QStringList &arguments, const QString &zone = QStringLiteral("Asia/Tokyo"))
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const auto tz = zoneForChildProcess(zone);
        EXPECT_TRUE(tz) << zone.toStdString() << " cannot be given to one process here";
        env.insert(QStringLiteral("TZ"), tz.value_or(zone));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TICKWELL_SIM), arguments);
        SimRun result;
        if (!process.waitForFinished(120000))
            return result;
        result.status = process.exitCode();
        result.errors = QString::fromUtf8(process.readAllStandardError());
        for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
            if (line.isEmpty())
                continue;
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            EXPECT_FALSE(o.isEmpty()) << line.toStdString();
            result.calls.push_back({o[QStringLiteral("at")].toString(), o[QStringLiteral("call")].toString(),
                o[QStringLiteral("schedule")].toInt(), o[QStringLiteral("text")].toString()});
        }
        return result;
    }

    SimRun runFromTo(const QString &from, const QString &to, QStringList extra = {},
        const QString &zone = QStringLiteral("Asia/Tokyo"))
    {
        writeStore();
        return run(QStringList{QStringLiteral("--store"), storePath(), QStringLiteral("--from"), from,
                       QStringLiteral("--to"), to}
                + extra,
            zone);
    }

    static std::vector<QString> noticeTimes(const SimRun &r, int schedule)
    {
        std::vector<QString> times;
        for (std::size_t i = 0; i + 1 < r.calls.size(); ++i) {
            if (r.calls[i].call == QLatin1String("PlayEntrySound") && r.calls[i].schedule == schedule) {
                EXPECT_EQ(r.calls[i + 1].call, QStringLiteral("ShowNotice"));
                times.push_back(r.calls[i].at);
            }
        }
        return times;
    }

    static QString at(const QDate &day, int hour, int minute)
    {
        return QDateTime(day, QTime(hour, minute)).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    }

    QTemporaryDir dir;
    CTickwellDoc doc;
};

TEST_F(Simulator, AYearOfOneScheduleOfEachKind)
{
    ScheduleEntry &weekly = doc.schedules[0];
    weekly.valid = 1;
    weekly.Mon = weekly.FRI = 1;
    weekly.htime = 9;
    weekly.msg = QStringLiteral("週次\r\n\"引用\" \\ 終わり");
    ScheduleEntry &monthly = doc.schedules[4];
    monthly.valid = 1;
    monthly.kind = 1;
    monthly.dayOfMonth = 31;
    monthly.htime = 23;
    monthly.mtime = 59;
    monthly.timingOfYear = 2026;
    monthly.timingOfMonth = 1;
    ScheduleEntry &once = doc.schedules[9];
    once.valid = 1;
    once.kind = 2;
    once.OnceActionYear = 2026;
    once.OnceActionMonth = 7;
    once.OnceActionDay = 7;
    once.htime = 7;
    once.mtime = 7;

    const SimRun r = runFromTo(QStringLiteral("2026-01-01T00:00:00"), QStringLiteral("2027-01-01T00:00:00"));
    ASSERT_EQ(r.status, 0) << r.errors.toStdString();

    std::vector<QString> mondaysAndFridays, lastDays;
    for (QDate d(2026, 1, 1); d.year() == 2026; d = d.addDays(1)) {
        if (d.dayOfWeek() == 1 || d.dayOfWeek() == 5)
            mondaysAndFridays.push_back(at(d, 9, 0));
        if (d.day() == d.daysInMonth())
            lastDays.push_back(at(d, 23, 59));
    }
    EXPECT_EQ(noticeTimes(r, 1), mondaysAndFridays);
    EXPECT_EQ(noticeTimes(r, 5), lastDays);
    EXPECT_EQ(noticeTimes(r, 10), std::vector<QString>{QStringLiteral("2026-07-07T07:07:00")});
    EXPECT_EQ(r.calls.size(), 2 * (mondaysAndFridays.size() + lastDays.size() + 1));
    EXPECT_EQ(r.calls[1].text, weekly.msg) << "JSON escaping round-trips";
}

TEST_F(Simulator, AsleepOverADueMinute)
{
    ScheduleEntry &reported = doc.schedules[1];
    reported.valid = reported.bAfterAction = reported.WED = 1;
    reported.htime = 9;
    reported.Next_WED = DayOfYear(4, 3, 2026);
    reported.msg = QStringLiteral("報告される");
    ScheduleEntry &monthly = doc.schedules[2];
    monthly.valid = 1;
    monthly.kind = 1;
    monthly.dayOfMonth = 4;
    monthly.htime = 9;
    monthly.mtime = 30;
    monthly.timingOfYear = 2026;
    monthly.timingOfMonth = 3;

    const SimRun r = runFromTo(QStringLiteral("2026-03-01T08:00:00"), QStringLiteral("2026-04-10T00:00:00"),
        {QStringLiteral("--asleep"), QStringLiteral("2026-03-04T08:00:00/2026-03-04T12:10:00")});
    ASSERT_EQ(r.status, 0) << r.errors.toStdString();
    // Wednesday 4 March 9:00 was slept through: reported at waking.
    const std::vector<QString> wednesdays = noticeTimes(r, 2);
    ASSERT_FALSE(wednesdays.empty());
    EXPECT_EQ(wednesdays[0], QStringLiteral("2026-03-04T12:10:00"));
    EXPECT_TRUE(r.calls[1].text.contains(QStringLiteral(" 水曜設定  9 時 0 分\r\n報告される")));
    EXPECT_EQ(wednesdays.size(), 1u + 5u) << "the report, then 11, 18, 25 March and 1, 8 April";
    // The monthly one without reports is not lost: it fires on 4 April.
    EXPECT_EQ(noticeTimes(r, 3), std::vector<QString>{QStringLiteral("2026-04-04T09:30:00")});
}

TEST_F(Simulator, NewYearKeepsTheWeeklyBookkeeping)
{
    doc.THIS_YEAR = 2024;
    ScheduleEntry &e = doc.schedules[0];
    e.valid = e.bAfterAction = e.TUE = e.THU = 1;
    e.htime = 18;
    e.Next_TUE = DayOfYear(31, 12, 2024);
    e.Next_THU = DayOfYear(26, 12, 2024);

    const SimRun r = runFromTo(QStringLiteral("2024-12-26T17:00:00"), QStringLiteral("2025-01-03T00:00:00"),
        {QStringLiteral("--save")});
    ASSERT_EQ(r.status, 0) << r.errors.toStdString();
    EXPECT_EQ(noticeTimes(r, 1),
        (std::vector<QString>{QStringLiteral("2024-12-26T18:00:00"), QStringLiteral("2024-12-31T18:00:00"),
            QStringLiteral("2025-01-02T18:00:00")}));
    for (const Call &c : r.calls)
        EXPECT_FALSE(c.text.startsWith(QStringLiteral("設定時刻を過ぎて"))) << c.at.toStdString();

    CTickwellDoc saved;
    readStore(saved);
    EXPECT_EQ(saved.THIS_YEAR, 2025);
    EXPECT_EQ(saved.schedules[0].Next_TUE, DayOfYear(7, 1, 2025));
    EXPECT_EQ(saved.schedules[0].Next_THU, DayOfYear(9, 1, 2025));
}

TEST_F(Simulator, DaylightSavingChangesInNewYork)
{
    // Every day at 1:30 and at 2:30. On 8 March 2026 2:30 does not exist; on
    // 1 November 2026 1:30 happens twice.
    for (int i : {0, 1}) {
        ScheduleEntry &e = doc.schedules[i];
        e.valid = 1;
        for (int w = 0; w < 7; ++w)
            e.weekdayFlag(w) = 1;
        e.htime = i == 0 ? 1 : 2;
        e.mtime = 30;
    }
    const QString zone = QStringLiteral("America/New_York");
    if (!zoneForChildProcess(zone))
        GTEST_SKIP() << "Windows cannot give one process a zone with summer time";
    SimRun spring
        = runFromTo(QStringLiteral("2026-03-07T00:00:00"), QStringLiteral("2026-03-10T00:00:00"), {}, zone);
    ASSERT_EQ(spring.status, 0) << spring.errors.toStdString();
    EXPECT_EQ(noticeTimes(spring, 1).size(), 3u);
    EXPECT_EQ(noticeTimes(spring, 2),
        (std::vector<QString>{QStringLiteral("2026-03-07T02:30:00"), QStringLiteral("2026-03-09T02:30:00")}));

    SimRun autumn
        = runFromTo(QStringLiteral("2026-10-31T00:00:00"), QStringLiteral("2026-11-03T00:00:00"), {}, zone);
    ASSERT_EQ(autumn.status, 0) << autumn.errors.toStdString();
    EXPECT_EQ(noticeTimes(autumn, 1),
        (std::vector<QString>{QStringLiteral("2026-10-31T01:30:00"), QStringLiteral("2026-11-01T01:30:00"),
            QStringLiteral("2026-11-02T01:30:00")}));
    EXPECT_EQ(noticeTimes(autumn, 2).size(), 3u);
}

// Sleeps that touch leave the tick at their shared end; nested and
// overlapping ones leave out what either covers; thousands of them over a
// year cost no more than the ticks themselves.
TEST_F(Simulator, SleepsTouchingNestedAndByTheThousand)
{
    ScheduleEntry &e = doc.schedules[0];
    e.valid = e.bAfterAction = e.Mon = e.TUE = 1;
    e.htime = 9;
    e.Next_Mon = DayOfYear(2, 3, 2026);
    e.Next_TUE = DayOfYear(3, 3, 2026);
    const SimRun r = runFromTo(QStringLiteral("2026-03-02T08:00:00"), QStringLiteral("2026-03-03T12:00:00"),
        {QStringLiteral("--asleep"), QStringLiteral("2026-03-02T08:30:00/2026-03-02T08:59:00"),
            QStringLiteral("--asleep"), QStringLiteral("2026-03-02T08:59:00/2026-03-02T09:30:00"),
            QStringLiteral("--asleep"), QStringLiteral("2026-03-03T06:00:00/2026-03-03T10:00:00"),
            QStringLiteral("--asleep"), QStringLiteral("2026-03-03T07:00:00/2026-03-03T08:00:00"),
            QStringLiteral("--asleep"), QStringLiteral("2026-03-03T09:30:00/2026-03-03T10:15:30")});
    ASSERT_EQ(r.status, 0) << r.errors.toStdString();
    // 9:00 on 2 March is slept through after the tick at 8:59 (touching
    // sleeps); on 3 March the nested and overlapping ones end at 10:15:30.
    EXPECT_EQ(noticeTimes(r, 1),
        (std::vector<QString>{QStringLiteral("2026-03-02T09:30:00"), QStringLiteral("2026-03-03T10:15:30")}));

    // About 3,000 sleeps; on Windows, whose command line holds at most 32,767
    // characters, about 300.
#ifdef Q_OS_WIN
    constexpr int kStep = 99733;
#else
    constexpr int kStep = 9973;
#endif
    QStringList many;
    for (QDateTime t(QDate(2026, 1, 1), QTime(0, 0, 7)); t.date().year() == 2026; t = t.addSecs(kStep)) {
        many << QStringLiteral("--asleep")
             << t.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + u'/'
                + t.addSecs(3000).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    }
    QElapsedTimer clock;
    clock.start();
    const SimRun year
        = runFromTo(QStringLiteral("2026-01-01T00:00:00"), QStringLiteral("2027-01-01T00:00:00"), many);
    EXPECT_EQ(year.status, 0) << year.errors.toStdString();
    EXPECT_LT(clock.elapsed(), 30000) << many.size() / 2 << " sleeps";
}

TEST_F(Simulator, BadArgumentsAndUnreadableStoresEndWithStatusTwo)
{
    writeStore();
    const QString store = storePath();
    const QString missing = dir.filePath(QStringLiteral("missing.conf"));
    const QStringList rows[] = {
        {},
        {QStringLiteral("--store"), store, QStringLiteral("--from"), QStringLiteral("2026-01-01T00:00:00")},
        {QStringLiteral("--store"), store, QStringLiteral("--from"), QStringLiteral("yesterday"),
            QStringLiteral("--to"), QStringLiteral("2026-01-02T00:00:00")},
        {QStringLiteral("--store"), store, QStringLiteral("--from"), QStringLiteral("2026-01-02T00:00:00"),
            QStringLiteral("--to"), QStringLiteral("2026-01-01T00:00:00")},
        {QStringLiteral("--store"), store, QStringLiteral("--from"), QStringLiteral("2026-01-01T00:00:00"),
            QStringLiteral("--to"), QStringLiteral("2026-01-02T00:00:00"), QStringLiteral("--asleep"),
            QStringLiteral("x")},
        {QStringLiteral("--store"), missing, QStringLiteral("--from"), QStringLiteral("2026-01-01T00:00:00"),
            QStringLiteral("--to"), QStringLiteral("2026-01-02T00:00:00")},
        {QStringLiteral("--store"), dir.path(), QStringLiteral("--from"),
            QStringLiteral("2026-01-01T00:00:00"), QStringLiteral("--to"),
            QStringLiteral("2026-01-02T00:00:00")},
        {QStringLiteral("--bogus")},
    };
    for (const QStringList &arguments : rows) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const SimRun r = run(arguments);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.calls.empty());
        EXPECT_EQ(r.errors.count(QLatin1Char('\n')), 1) << r.errors.toStdString();
    }
}

} // namespace
