// The calendar's hard days run through tickwell-sim, the program's own
// monitor on a simulated clock: New Year (from a leap year and from a common
// one), 29 February, the daylight-saving changes of New York, London and Lord
// Howe Island (a half-hour shift), and a computer asleep across a due minute
// and across midnight. Each case lists every sound and notice in order, so
// an occurrence fired twice, or lost where it is due or to be reported, fails
// it, and the store saved at the end must name the right next dates.
#include "Figures.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include "QStringPrinter.h"

#include "ZoneForChildProcess.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

struct TravelCase
{
    const char *name;
    const char *zone;
    const char *from;
    const char *to;
    std::vector<const char *> asleep; // "FROM/TO"
    const char *store;                // the INI file at start
    // "<schedule> fire|report <local time of the tick>", in call order.
    std::vector<const char *> expected;
    // Keys of the store saved at the end, as "Section/key", and their values.
    std::vector<std::pair<const char *, const char *>> saved;
};

// A weekly entry due every day: the seven flags.
#define EVERY_DAY "Sun=1\nMon=1\nTUE=1\nWED=1\nTHU=1\nFRI=1\nSAT=1\n"

const TravelCase kCases[] = {
    {"New Year from a leap year, awake", "Asia/Tokyo", "2024-12-30T12:00:00", "2025-01-02T12:00:00", {},
        "[THIS_YEAR]\nTHIS_YEAR=2024\n"
        "[Schedule1]\nvalid=1\nkind=0\nhtime=0\nmtime=0\nbAfterAction=1\nTUE=1\nWED=1\nNext_TUE=366\nNext_"
        "WED=367\n"
        "[Schedule2]\nvalid=1\nkind=1\nhtime=23\nmtime=59\nbAfterAction=1\ndayOfMonth=31\ntimingOfYear=2024\n"
        "timingOfMonth=12\n"
        "[Schedule3]\nvalid=1\nkind=2\nhtime=0\nmtime=0\nbAfterAction=1\nOnceActionYear="
        "2025\nOnceActionMonth=1\n"
        "OnceActionDay=1\n"
        "[Schedule4]\nvalid=1\nkind=1\nhtime=0\nmtime=0\ndayOfMonth=1\ntimingOfYear=2025\ntimingOfMonth=1\n",
        {"1 fire 2024-12-31T00:00:00", "2 fire 2024-12-31T23:59:00", "1 fire 2025-01-01T00:00:00",
            "3 fire 2025-01-01T00:00:00", "4 fire 2025-01-01T00:00:00"},
        {{"THIS_YEAR/THIS_YEAR", "2025"}, {"Schedule1/Next_TUE", "7"}, {"Schedule1/Next_WED", "8"},
            {"Schedule2/timingOfYear", "2025"}, {"Schedule2/timingOfMonth", "1"}, {"Schedule3/valid", "0"},
            {"Schedule4/timingOfYear", "2025"}, {"Schedule4/timingOfMonth", "2"}}},

    {"New Year from a common year, asleep across midnight", "Asia/Tokyo", "2025-12-31T22:00:00",
        "2026-01-01T09:00:00", {"2025-12-31T22:59:30/2026-01-01T08:00:00"},
        "[THIS_YEAR]\nTHIS_YEAR=2025\n"
        "[Schedule1]\nvalid=1\nkind=0\nhtime=0\nmtime=30\nbAfterAction=1\nTHU=1\nNext_THU=366\n"
        "[Schedule2]\nvalid=1\nkind=1\nhtime=23\nmtime=30\nbAfterAction=1\ndayOfMonth=31\ntimingOfYear=2025\n"
        "timingOfMonth=12\n"
        "[Schedule3]\nvalid=1\nkind=2\nhtime=0\nmtime=0\nbAfterAction=1\nOnceActionYear="
        "2026\nOnceActionMonth=1\n"
        "OnceActionDay=1\n"
        "[Schedule4]\nvalid=1\nkind=2\nhtime=23\nmtime=30\nOnceActionYear=2025\nOnceActionMonth=12\n"
        "OnceActionDay=31\n"
        "[Schedule5]\nvalid=1\nkind=0\nhtime=23\nmtime=30\nWED=1\nNext_WED=365\n",
        {"1 report 2026-01-01T08:00:00", "2 report 2026-01-01T08:00:00", "3 report 2026-01-01T08:00:00"},
        {{"THIS_YEAR/THIS_YEAR", "2026"}, {"Schedule1/Next_THU", "8"}, {"Schedule2/timingOfYear", "2026"},
            {"Schedule2/timingOfMonth", "1"}, {"Schedule3/valid", "0"}, {"Schedule4/valid", "1"},
            {"Schedule5/Next_WED", "0"}}},

    {"29 February in a leap year", "Asia/Tokyo", "2028-02-28T00:00:00", "2028-03-02T00:00:00", {},
        "[THIS_YEAR]\nTHIS_YEAR=2028\n"
        "[Schedule1]\nvalid=1\nkind=1\nhtime=12\nmtime=0\ndayOfMonth=29\ntimingOfYear=2028\ntimingOfMonth=2\n"
        "[Schedule2]\nvalid=1\nkind=1\nhtime=12\nmtime=0\ndayOfMonth=31\ntimingOfYear=2028\ntimingOfMonth=2\n"
        "[Schedule3]\nvalid=1\nkind=2\nhtime=12\nmtime=0\nOnceActionYear=2028\nOnceActionMonth="
        "2\nOnceActionDay=29\n"
        "[Schedule4]\nvalid=1\nkind=0\nhtime=12\nmtime=0\nbAfterAction=1\nTUE=1\nNext_TUE=60\n"
        "[Schedule5]\nvalid=1\nkind=1\nhtime=13\nmtime=0\nbAfterAction=1\ndayOfMonth=30\ntimingOfYear=2028\n"
        "timingOfMonth=2\n",
        {"1 fire 2028-02-29T12:00:00", "2 fire 2028-02-29T12:00:00", "3 fire 2028-02-29T12:00:00",
            "4 fire 2028-02-29T12:00:00", "5 fire 2028-02-29T13:00:00"},
        {{"Schedule1/timingOfMonth", "3"}, {"Schedule2/timingOfMonth", "3"}, {"Schedule3/valid", "0"},
            {"Schedule4/Next_TUE", "67"}, {"Schedule5/timingOfMonth", "3"}}},

    {"29 February in a common year falls on the 28th", "Asia/Tokyo", "2027-02-27T00:00:00",
        "2027-03-02T00:00:00", {},
        "[THIS_YEAR]\nTHIS_YEAR=2027\n"
        "[Schedule1]\nvalid=1\nkind=1\nhtime=12\nmtime=0\ndayOfMonth=29\ntimingOfYear=2027\ntimingOfMonth=2\n"
        "[Schedule2]\nvalid=1\nkind=0\nhtime=12\nmtime=0\nbAfterAction=1\nSun=1\nNext_Sun=59\n",
        {"1 fire 2027-02-28T12:00:00", "2 fire 2027-02-28T12:00:00"},
        {{"Schedule1/timingOfYear", "2027"}, {"Schedule1/timingOfMonth", "3"}, {"Schedule2/Next_Sun", "66"}}},

    {"asleep over 29 February", "Asia/Tokyo", "2028-02-28T00:00:00", "2028-03-02T00:00:00",
        {"2028-02-29T10:59:30/2028-03-01T09:00:00"},
        "[THIS_YEAR]\nTHIS_YEAR=2028\n"
        "[Schedule1]\nvalid=1\nkind=1\nhtime=12\nmtime=0\nbAfterAction=1\ndayOfMonth=29\ntimingOfYear=2028\n"
        "timingOfMonth=2\n"
        "[Schedule2]\nvalid=1\nkind=1\nhtime=12\nmtime=0\nbAfterAction=1\ndayOfMonth=31\ntimingOfYear=2028\n"
        "timingOfMonth=2\n"
        "[Schedule3]\nvalid=1\nkind=1\nhtime=12\nmtime=0\ndayOfMonth=29\ntimingOfYear=2028\ntimingOfMonth="
        "2\n",
        {"1 report 2028-03-01T09:00:00", "2 report 2028-03-01T09:00:00"},
        {{"Schedule1/timingOfMonth", "3"}, {"Schedule2/timingOfMonth", "3"},
            {"Schedule3/timingOfMonth", "3"}}},

    {"New York, clocks go forward: 2:30 does not happen", "America/New_York", "2026-03-07T12:00:00",
        "2026-03-09T12:00:00", {},
        "[THIS_YEAR]\nTHIS_YEAR=2026\n"
        "[Schedule1]\nvalid=1\nkind=0\nhtime=2\nmtime=30\nbAfterAction=1\n" EVERY_DAY
        "Next_Sun=67\nNext_Mon=68\nNext_TUE=69\nNext_WED=70\nNext_THU=71\nNext_FRI=72\nNext_SAT=73\n"
        "[Schedule2]\nvalid=1\nkind=0\nhtime=2\nmtime=30\n" EVERY_DAY
        "[Schedule3]\nvalid=1\nkind=1\nhtime=2\nmtime=30\nbAfterAction=1\ndayOfMonth=8\ntimingOfYear=2026\n"
        "timingOfMonth=3\n"
        "[Schedule4]\nvalid=1\nkind=2\nhtime=2\nmtime=30\nbAfterAction=1\nOnceActionYear="
        "2026\nOnceActionMonth=3\n"
        "OnceActionDay=8\n"
        "[Schedule5]\nvalid=1\nkind=0\nhtime=1\nmtime=30\n" EVERY_DAY
        "[Schedule6]\nvalid=1\nkind=0\nhtime=3\nmtime=0\nbAfterAction=1\n" EVERY_DAY
        "Next_Sun=67\nNext_Mon=68\nNext_TUE=69\nNext_WED=70\nNext_THU=71\nNext_FRI=72\nNext_SAT=73\n",
        {"5 fire 2026-03-08T01:30:00", "1 report 2026-03-08T03:00:00", "3 report 2026-03-08T03:00:00",
            "4 report 2026-03-08T03:00:00", "6 fire 2026-03-08T03:00:00", "5 fire 2026-03-09T01:30:00",
            "1 fire 2026-03-09T02:30:00", "2 fire 2026-03-09T02:30:00", "6 fire 2026-03-09T03:00:00"},
        {{"Schedule1/Next_Sun", "74"}, {"Schedule1/Next_Mon", "75"}, {"Schedule3/timingOfMonth", "4"},
            {"Schedule4/valid", "0"}, {"Schedule6/Next_Sun", "74"}, {"Schedule6/Next_Mon", "75"}}},

    {"New York, clocks go back: 1:00 to 2:00 twice", "America/New_York", "2026-10-31T12:00:00",
        "2026-11-02T12:00:00", {},
        "[THIS_YEAR]\nTHIS_YEAR=2026\n"
        "[Schedule1]\nvalid=1\nkind=0\nhtime=1\nmtime=30\nbAfterAction=1\n" EVERY_DAY
        "Next_Sun=305\nNext_Mon=306\nNext_TUE=307\nNext_WED=308\nNext_THU=309\nNext_FRI=310\nNext_SAT=311\n"
        "[Schedule2]\nvalid=1\nkind=1\nhtime=1\nmtime=30\nbAfterAction=1\ndayOfMonth=1\ntimingOfYear=2026\n"
        "timingOfMonth=11\n"
        "[Schedule3]\nvalid=1\nkind=2\nhtime=1\nmtime=30\nbAfterAction=1\nOnceActionYear=2026\n"
        "OnceActionMonth=11\nOnceActionDay=1\n"
        "[Schedule4]\nvalid=1\nkind=0\nhtime=1\nmtime=45\n" EVERY_DAY,
        {"1 fire 2026-11-01T01:30:00", "2 fire 2026-11-01T01:30:00", "3 fire 2026-11-01T01:30:00",
            "4 fire 2026-11-01T01:45:00", "1 fire 2026-11-02T01:30:00", "4 fire 2026-11-02T01:45:00"},
        {{"Schedule1/Next_Sun", "312"}, {"Schedule1/Next_Mon", "313"}, {"Schedule2/timingOfMonth", "12"},
            {"Schedule3/valid", "0"}}},

    {"London, clocks go forward: 1:30 does not happen", "Europe/London", "2026-03-28T12:00:00",
        "2026-03-30T12:00:00", {},
        "[THIS_YEAR]\nTHIS_YEAR=2026\n"
        "[Schedule1]\nvalid=1\nkind=0\nhtime=1\nmtime=30\nbAfterAction=1\n" EVERY_DAY
        "Next_Sun=88\nNext_Mon=89\nNext_TUE=90\nNext_WED=91\nNext_THU=92\nNext_FRI=93\nNext_SAT=94\n"
        "[Schedule2]\nvalid=1\nkind=2\nhtime=1\nmtime=30\nOnceActionYear=2026\nOnceActionMonth=3\n"
        "OnceActionDay=29\n",
        {"1 report 2026-03-29T02:00:00", "1 fire 2026-03-30T01:30:00"},
        {{"Schedule1/Next_Sun", "95"}, {"Schedule1/Next_Mon", "96"}, {"Schedule2/valid", "1"}}},

    {"London, clocks go back: 1:00 to 2:00 twice", "Europe/London", "2026-10-24T12:00:00",
        "2026-10-26T12:00:00", {},
        "[THIS_YEAR]\nTHIS_YEAR=2026\n"
        "[Schedule1]\nvalid=1\nkind=1\nhtime=1\nmtime=30\ndayOfMonth=25\ntimingOfYear=2026\ntimingOfMonth="
        "10\n"
        "[Schedule2]\nvalid=1\nkind=0\nhtime=1\nmtime=59\nbAfterAction=1\nSun=1\nNext_Sun=298\n",
        {"1 fire 2026-10-25T01:30:00", "2 fire 2026-10-25T01:59:00"},
        {{"Schedule1/timingOfMonth", "11"}, {"Schedule2/Next_Sun", "305"}}},

    {"Lord Howe Island, half an hour back: 1:30 to 2:00 twice", "Australia/Lord_Howe", "2026-04-04T12:00:00",
        "2026-04-06T12:00:00", {},
        "[THIS_YEAR]\nTHIS_YEAR=2026\n"
        "[Schedule1]\nvalid=1\nkind=0\nhtime=1\nmtime=45\nbAfterAction=1\n" EVERY_DAY
        "Next_Sun=95\nNext_Mon=96\nNext_TUE=97\nNext_WED=98\nNext_THU=99\nNext_FRI=100\nNext_SAT=101\n"
        "[Schedule2]\nvalid=1\nkind=2\nhtime=1\nmtime=45\nOnceActionYear=2026\nOnceActionMonth="
        "4\nOnceActionDay=5\n"
        "[Schedule3]\nvalid=1\nkind=0\nhtime=1\nmtime=15\n" EVERY_DAY,
        {"3 fire 2026-04-05T01:15:00", "1 fire 2026-04-05T01:45:00", "2 fire 2026-04-05T01:45:00",
            "3 fire 2026-04-06T01:15:00", "1 fire 2026-04-06T01:45:00"},
        {{"Schedule1/Next_Sun", "102"}, {"Schedule1/Next_Mon", "103"}, {"Schedule2/valid", "0"}}},

    {"Lord Howe Island, half an hour forward: 2:00 to 2:30 does not happen", "Australia/Lord_Howe",
        "2026-10-03T12:00:00", "2026-10-05T12:00:00", {},
        "[THIS_YEAR]\nTHIS_YEAR=2026\n"
        "[Schedule1]\nvalid=1\nkind=0\nhtime=2\nmtime=15\nbAfterAction=1\n" EVERY_DAY
        "Next_Sun=277\nNext_Mon=278\nNext_TUE=279\nNext_WED=280\nNext_THU=281\nNext_FRI=282\nNext_SAT=283\n"
        "[Schedule2]\nvalid=1\nkind=1\nhtime=2\nmtime=15\nbAfterAction=1\ndayOfMonth=4\ntimingOfYear=2026\n"
        "timingOfMonth=10\n"
        "[Schedule3]\nvalid=1\nkind=0\nhtime=2\nmtime=30\n" EVERY_DAY,
        {"1 report 2026-10-04T02:30:00", "2 report 2026-10-04T02:30:00", "3 fire 2026-10-04T02:30:00",
            "1 fire 2026-10-05T02:15:00", "3 fire 2026-10-05T02:30:00"},
        {{"Schedule1/Next_Sun", "284"}, {"Schedule1/Next_Mon", "285"}, {"Schedule2/timingOfMonth", "11"}}},

    {"asleep across a due minute, and waking in the same minute of the hour", "Asia/Tokyo",
        "2026-03-02T08:00:00", "2026-03-03T12:00:00",
        {"2026-03-02T08:58:30/2026-03-02T09:01:15", "2026-03-03T09:58:30/2026-03-03T10:58:10"},
        "[THIS_YEAR]\nTHIS_YEAR=2026\n"
        "[Schedule1]\nvalid=1\nkind=0\nhtime=9\nmtime=0\nbAfterAction=1\nMon=1\nNext_Mon=61\n"
        "[Schedule2]\nvalid=1\nkind=0\nhtime=9\nmtime=0\nMon=1\n"
        "[Schedule3]\nvalid=1\nkind=1\nhtime=9\nmtime=0\ndayOfMonth=2\ntimingOfYear=2026\ntimingOfMonth=3\n"
        "[Schedule4]\nvalid=1\nkind=2\nhtime=9\nmtime=0\nbAfterAction=1\nOnceActionYear="
        "2026\nOnceActionMonth=3\n"
        "OnceActionDay=2\n"
        "[Schedule5]\nvalid=1\nkind=0\nhtime=10\nmtime=30\nbAfterAction=1\nTUE=1\nNext_TUE=62\n",
        {"1 report 2026-03-02T09:01:15", "4 report 2026-03-02T09:01:15", "5 report 2026-03-03T10:59:00"},
        {{"Schedule1/Next_Mon", "68"}, {"Schedule3/timingOfMonth", "3"}, {"Schedule4/valid", "0"},
            {"Schedule5/Next_TUE", "69"}}},

    {"asleep across midnight at the end of a month", "Asia/Tokyo", "2026-03-30T20:00:00",
        "2026-04-01T12:00:00", {"2026-03-31T23:50:00/2026-04-01T00:10:00"},
        "[THIS_YEAR]\nTHIS_YEAR=2026\n"
        "[Schedule1]\nvalid=1\nkind=0\nhtime=0\nmtime=5\nbAfterAction=1\nWED=1\nNext_WED=91\n"
        "[Schedule2]\nvalid=1\nkind=1\nhtime=23\nmtime=55\nbAfterAction=1\ndayOfMonth=31\ntimingOfYear=2026\n"
        "timingOfMonth=3\n"
        "[Schedule3]\nvalid=1\nkind=2\nhtime=23\nmtime=55\nOnceActionYear=2026\nOnceActionMonth=3\n"
        "OnceActionDay=31\n"
        "[Schedule4]\nvalid=1\nkind=2\nhtime=23\nmtime=55\nbAfterAction=1\nOnceActionYear=2026\n"
        "OnceActionMonth=3\nOnceActionDay=31\n"
        "[Schedule5]\nvalid=1\nkind=0\nhtime=23\nmtime=55\nTUE=1\n",
        {"1 report 2026-04-01T00:10:00", "2 report 2026-04-01T00:10:00", "4 report 2026-04-01T00:10:00"},
        {{"Schedule1/Next_WED", "98"}, {"Schedule2/timingOfYear", "2026"}, {"Schedule2/timingOfMonth", "4"},
            {"Schedule3/valid", "1"}, {"Schedule4/valid", "0"}}},
};

#undef EVERY_DAY

struct SimResult
{
    int status = -1;
    std::vector<QString> events;
    QString errors;
};

SimResult runSimulator(const TravelCase &c, const QString &store)
{
    QStringList arguments{QStringLiteral("--store"), store, QStringLiteral("--from"), QLatin1String(c.from),
        QStringLiteral("--to"), QLatin1String(c.to), QStringLiteral("--save")};
    for (const char *asleep : c.asleep)
        arguments << QStringLiteral("--asleep") << QLatin1String(asleep);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TZ"), zoneForChildProcess(QLatin1String(c.zone)).value_or(QString()));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TICKWELL_SIM), arguments);
    SimResult result;
    if (!process.waitForFinished(60000))
        return result;
    result.status = process.exitCode();
    result.errors = QString::fromUtf8(process.readAllStandardError());
    int sound = 0;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        if (line.isEmpty())
            continue;
        const QJsonObject call = QJsonDocument::fromJson(line).object();
        const QString kind = call[QStringLiteral("call")].toString();
        const QString at = call[QStringLiteral("at")].toString();
        if (kind == QLatin1String("PlayEntrySound")) {
            EXPECT_EQ(sound, 0) << "two sounds without a notice between them, at " << at.toStdString();
            sound = call[QStringLiteral("schedule")].toInt();
        } else if (kind == QLatin1String("ShowNotice")) {
            const bool report = call[QStringLiteral("text")].toString().startsWith(
                QStringLiteral("設定時刻を過ぎてしまった未表示のメッセージです。"));
            result.events.push_back(QStringLiteral("%1 %2 %3")
                                        .arg(sound)
                                        .arg(report ? QStringLiteral("report") : QStringLiteral("fire"), at));
            sound = 0;
        } else {
            ADD_FAILURE() << "unexpected call: " << line.constData();
        }
    }
    EXPECT_EQ(sound, 0) << "a sound without its notice";
    return result;
}

TEST(TimeTravel, EveryOccurrenceOnceAndTheSavedDatesRight)
{
    int events = 0;
    int savedKeys = 0;
    int wrong = 0;
    int skipped = 0;
    for (const TravelCase &c : kCases) {
        SCOPED_TRACE(c.name);
        if (!zoneForChildProcess(QLatin1String(c.zone))) {
            ++skipped;
            continue;
        }
        QTemporaryDir dir;
        const QString store = dir.filePath(QStringLiteral("Tickwell.conf"));
        QFile file(store);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.store);
        file.close();

        const SimResult result = runSimulator(c, store);
        ASSERT_EQ(result.status, 0) << result.errors.toStdString();
        std::vector<QString> expected;
        for (const char *event : c.expected)
            expected.push_back(QLatin1String(event));
        EXPECT_EQ(result.events, expected);
        events += static_cast<int>(expected.size());
        wrong += result.events == expected ? 0 : 1;

        const QSettings saved(store, QSettings::IniFormat);
        for (const auto &[key, value] : c.saved) {
            EXPECT_EQ(saved.value(QLatin1String(key)).toString(), QLatin1String(value)) << key;
            wrong += saved.value(QLatin1String(key)).toString() == QLatin1String(value) ? 0 : 1;
        }
        savedKeys += static_cast<int>(c.saved.size());
    }
    recordFigure(QStringLiteral("time travel with tickwell-sim"),
        QStringLiteral("%1 stretches (New Year from a leap and a common year, 29 February in both, "
                       "New York, London and Lord Howe both ways, asleep across a due minute and "
                       "across midnight); %2 firings and reports expected, %3 saved dates checked%4")
            .arg(std::size(kCases))
            .arg(events)
            .arg(savedKeys)
            .arg(skipped ? QStringLiteral("; %1 stretches in zones with summer time left out, which Windows "
                                          "cannot give one process")
                               .arg(skipped)
                         : QString()),
        wrong == 0 ? QStringLiteral("nothing: no occurrence twice, none lost, every saved date right")
                   : QStringLiteral("%1 cases or dates wrong").arg(wrong));
}

} // namespace
