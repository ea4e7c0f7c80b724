// Random tables, random sleeps, four time zones: tickwell-sim runs them for
// weeks (months in `make reliability`), and a model of the rules written
// here, from the local clock alone, says which minutes the monitor acts in
// and so which occurrences must fire, which must be reported and when, and
// what the exit save must name.
#include "CalendarRules.h"
#include "Figures.h"
#include "LocalTime.h"
#include "ScheduleEntry.h"

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimeZone>

#include "ZoneForChildProcess.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <tuple>
#include <vector>

namespace {

// One local minute, compared field by field as the rules compare them.
struct Minute
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    auto key() const { return std::tie(year, month, day, hour, minute); }
    friend bool operator<(const Minute &a, const Minute &b) { return a.key() < b.key(); }
    friend bool operator==(const Minute &a, const Minute &b) { return a.key() == b.key(); }
    QDate date() const { return QDate(year, month, day); }
};

struct Entry
{
    int kind = 0;
    int hour = 0, minute = 0;
    bool reports = false;
    std::array<bool, 7> weekdays{};
    int dayOfMonth = 1;
    QDate once;
};

struct Tick
{
    qint64 at; // epoch seconds
    Minute local;
};

const char *const kZones[] = {"Asia/Tokyo", "America/New_York", "Europe/London", "Australia/Lord_Howe"};
const QString kReportHead = QStringLiteral("設定時刻を過ぎてしまった未表示のメッセージです。");
const QString kWeekdayNames = QStringLiteral("日月火水木金土");

class Model
{
public:
    Model(const QTimeZone &zone, qint64 from, qint64 to, const std::vector<std::pair<qint64, qint64>> &asleep)
        : m_zone(zone)
    {
        actedTicks(from, to, asleep);
    }

    // Every zone here changes its offset only at a whole or half hour of UTC,
    // so the offset is looked up once per half hour.
    Minute local(qint64 at) const
    {
        const qint64 block = at / 1800;
        if (block != m_block) {
            m_block = block;
            m_offset = m_zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(block * 1800, QTimeZone::utc()));
        }
        const qint64 seconds = at + m_offset;
        const qint64 days = seconds / 86400;
        const int inDay = static_cast<int>(seconds % 86400);
        const QDate date = QDate(1970, 1, 1).addDays(days);
        return {date.year(), date.month(), date.day(), inDay / 3600, inDay / 60 % 60};
    }

    // As tickwell-sim stamps a tick.
    QString text(qint64 at) const
    {
        const Minute m = local(at);
        return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02d", m.year, m.month, m.day, m.hour, m.minute,
            static_cast<int>(at % 60));
    }

    const std::vector<Tick> &ticks() const { return m_ticks; }

private:
    // The ticks come every second while awake, the first one second after
    // the start and the first after a sleep at its end; the monitor acts on
    // one when its minute of the hour differs from that of the last it acted
    // on.
    void actedTicks(qint64 from, qint64 to, const std::vector<std::pair<qint64, qint64>> &asleep)
    {
        std::vector<std::pair<qint64, qint64>> awake;
        qint64 begin = from + 1;
        for (const auto &[sleepFrom, sleepTo] : asleep) {
            awake.emplace_back(begin, sleepFrom);
            begin = sleepTo;
        }
        awake.emplace_back(begin, to);
        int lastMinute = -1;
        for (const auto &[first, last] : awake) {
            for (qint64 t = first; t <= last; t = t - t % 60 + 60) {
                const Minute m = local(t);
                if (m.minute == lastMinute)
                    continue;
                lastMinute = m.minute;
                m_ticks.push_back({t, m});
            }
        }
    }

    QTimeZone m_zone;
    std::vector<Tick> m_ticks;
    mutable qint64 m_block = -1;
    mutable int m_offset = 0;
};

// The local minutes at which an entry is due between two dates.
std::vector<Minute> occurrences(const Entry &e, const QDate &first, const QDate &last)
{
    std::vector<Minute> result;
    for (QDate d = first; d <= last; d = d.addDays(1)) {
        bool due = false;
        switch (e.kind) {
        case 0:
            due = e.weekdays[static_cast<std::size_t>(d.dayOfWeek() % 7)];
            break;
        case 1:
            due = e.dayOfMonth == d.day() || (e.dayOfMonth > d.daysInMonth() && d.day() == d.daysInMonth());
            break;
        default:
            due = d == e.once;
            break;
        }
        if (due)
            result.push_back({d.year(), d.month(), d.day(), e.hour, e.minute});
    }
    return result;
}

LocalTime toLocalTime(const QDateTime &t)
{
    return {t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute(),
        t.time().second(), t.date().dayOfWeek() % 7};
}

// A day number of the weekly bookkeeping: counted from 1 January of year.
int dayNumber(const QDate &date, int year)
{
    return static_cast<int>(QDate(year, 1, 1).daysTo(date)) + 1;
}

struct Soak
{
    QString zone;
    qint64 from, to;
    std::vector<std::pair<qint64, qint64>> asleep;
    std::array<Entry, 10> entries;
};

Soak randomSoak(QRandomGenerator &random, int days)
{
    Soak s;
    s.zone = QLatin1String(kZones[random.bounded(4)]);
    // A zone that cannot be given to one process here (Windows): Tokyo.
    if (!zoneForChildProcess(s.zone))
        s.zone = QStringLiteral("Asia/Tokyo");
    const QTimeZone zone(s.zone.toLatin1());
    const QDate start = QDate(2024, 1, 1).addDays(random.bounded(4 * 365));
    s.from = QDateTime(start, QTime(12, 0), zone).toSecsSinceEpoch();
    s.to = s.from + qint64(days) * 86400;
    // Sleeps from minutes to days, starting and ending at any second; their
    // ends must read back as one local time (never inside a clock change).
    const auto unambiguous = [&](qint64 t) {
        const QDateTime local = QDateTime::fromSecsSinceEpoch(t, zone);
        return QDateTime(local.date(), local.time(), zone).toSecsSinceEpoch() == t;
    };
    qint64 t = s.from;
    for (;;) {
        t += 3600 + random.bounded(2 * 86400);
        const int kind = random.bounded(100);
        const qint64 length = kind < 50 ? 60 + random.bounded(3 * 3600)
            : kind < 85                 ? 3 * 3600 + random.bounded(27 * 3600)
                                        : 2 * 86400 + random.bounded(3 * 86400);
        if (t + length + 60 >= s.to)
            break;
        if (unambiguous(t) && unambiguous(t + length))
            s.asleep.emplace_back(t, t + length);
        t += length;
    }
    const int hours[] = {0, 1, 2, 3, 23};
    const int minutes[] = {0, 1, 15, 29, 30, 31, 45, 59};
    for (Entry &e : s.entries) {
        e.kind = random.bounded(3);
        e.hour = random.bounded(2) ? hours[random.bounded(5)] : random.bounded(24);
        e.minute = random.bounded(2) ? minutes[random.bounded(8)] : random.bounded(60);
        e.reports = random.bounded(100) < 60;
        while (std::none_of(e.weekdays.begin(), e.weekdays.end(), [](bool b) { return b; })) {
            for (bool &w : e.weekdays)
                w = random.bounded(100) < 40;
        }
        e.dayOfMonth = random.bounded(100) < 40 ? 28 + random.bounded(4) : 1 + random.bounded(31);
        e.once = start.addDays(1 + random.bounded(days - 1));
    }
    return s;
}

// The store as the settings dialog would leave it at the start.
QByteArray storeFile(const Soak &s)
{
    const QDateTime start = QDateTime::fromSecsSinceEpoch(s.from, QTimeZone(s.zone.toLatin1()));
    const LocalTime now = toLocalTime(start);
    QByteArray ini = "[THIS_YEAR]\nTHIS_YEAR=" + QByteArray::number(now.year) + "\n";
    const char *flags[] = {"Sun", "Mon", "TUE", "WED", "THU", "FRI", "SAT"};
    for (int i = 0; i < 10; ++i) {
        const Entry &e = s.entries[static_cast<std::size_t>(i)];
        ini += "[Schedule" + QByteArray::number(i + 1) + "]\nvalid=1\nkind=" + QByteArray::number(e.kind)
            + "\nhtime=" + QByteArray::number(e.hour) + "\nmtime=" + QByteArray::number(e.minute)
            + "\nbAfterAction=" + QByteArray(e.reports ? "1" : "0") + "\nmsg=m" + QByteArray::number(i + 1)
            + "\n";
        for (int w = 0; w < 7; ++w) {
            if (e.weekdays[static_cast<std::size_t>(w)]) {
                ini += QByteArray(flags[w]) + "=1\nNext_" + flags[w] + '='
                    + QByteArray::number(NextDateOfWeekday(w, e.hour, e.minute, now)) + '\n';
            }
        }
        ScheduleEntry monthly;
        monthly.dayOfMonth = e.dayOfMonth;
        monthly.htime = e.hour;
        monthly.mtime = e.minute;
        UpdateMonthlyTiming(monthly, now.month, now);
        ini += "dayOfMonth=" + QByteArray::number(e.dayOfMonth)
            + "\ntimingOfYear=" + QByteArray::number(monthly.timingOfYear)
            + "\ntimingOfMonth=" + QByteArray::number(monthly.timingOfMonth) + "\nOnceActionYear="
            + QByteArray::number(e.once.year()) + "\nOnceActionMonth=" + QByteArray::number(e.once.month())
            + "\nOnceActionDay=" + QByteArray::number(e.once.day()) + "\n";
    }
    return ini;
}

struct Expectation
{
    std::map<QString, std::vector<QString>> byTick; // tick stamp -> sorted events
    std::vector<std::pair<QString, QString>> saved; // "Section/key" -> value
    int firings = 0;
    int reports = 0;
};

// What the rules say: an occurrence fires in the minute it is due if the
// monitor acts in that minute; an entry that reports says so at the first
// minute it acts in after an occurrence that did not fire (per weekday for a
// weekly entry; a monthly day that the month lacks only once the month is
// over, as its stored day is compared), and one report covers every
// occurrence missed before it. A monthly entry applied in the very minute of
// an occurrence counts that one as passed.
Expectation expect(const Soak &s, const Model &model)
{
    Expectation x;
    const std::vector<Tick> &ticks = model.ticks();
    const Minute start = model.local(s.from);
    const Minute end = ticks.back().local;
    const QDate first = start.date();
    const QDate last = end.date().addDays(40);
    for (int i = 0; i < 10; ++i) {
        const Entry &e = s.entries[static_cast<std::size_t>(i)];
        const std::vector<Minute> due = occurrences(e, first, last);
        // One list per weekday for a weekly entry, one list otherwise, each
        // with the index of its first occurrence not yet fired or reported.
        std::vector<std::vector<Minute>> lists(e.kind == 0 ? 7 : 1);
        for (const Minute &o : due) {
            if (e.kind == 1 ? start < o : !(o < start))
                lists[e.kind == 0 ? static_cast<std::size_t>(o.date().dayOfWeek() % 7) : 0].push_back(o);
        }
        std::vector<std::size_t> next(lists.size(), 0);
        bool onceDone = false; // a one-time entry that fired or was reported
        const auto stored = [&](Minute o) {
            if (e.kind == 1)
                o.day = e.dayOfMonth;
            return o;
        };
        for (const Tick &tick : ticks) {
            const Minute &now = tick.local;
            for (std::size_t l = 0; l < lists.size(); ++l) {
                const std::vector<Minute> &list = lists[l];
                std::size_t &p = next[l];
                const auto add = [&](const QString &what) {
                    x.byTick[model.text(tick.at)].push_back(QStringLiteral("%1 %2").arg(i + 1).arg(what));
                };
                if (p < list.size() && list[p] < now && (!e.reports || stored(list[p]) < now)) {
                    if (e.reports) {
                        add(e.kind == 0 ? QStringLiteral("report ") + kWeekdayNames[static_cast<qsizetype>(l)]
                                        : QStringLiteral("report"));
                        ++x.reports;
                        onceDone = e.kind == 2;
                    }
                    while (p < list.size() && list[p] < now)
                        ++p;
                }
                if (p < list.size() && list[p] == now) {
                    add(QStringLiteral("fire"));
                    ++x.firings;
                    ++p;
                    onceDone = e.kind == 2;
                }
            }
        }
        const QString section = QStringLiteral("Schedule%1/").arg(i + 1);
        if (e.kind == 2) {
            x.saved.emplace_back(
                section + QStringLiteral("valid"), onceDone ? QStringLiteral("0") : QStringLiteral("1"));
        }
        if (e.reports && e.kind == 0) {
            const char *names[]
                = {"Next_Sun", "Next_Mon", "Next_TUE", "Next_WED", "Next_THU", "Next_FRI", "Next_SAT"};
            for (std::size_t w = 0; w < 7; ++w) {
                if (e.weekdays[w]) {
                    x.saved.emplace_back(section + QLatin1String(names[w]),
                        QString::number(dayNumber(lists[w][next[w]].date(), end.year)));
                }
            }
        }
        if (e.reports && e.kind == 1) {
            x.saved.emplace_back(
                section + QStringLiteral("timingOfYear"), QString::number(lists[0][next[0]].year));
            x.saved.emplace_back(
                section + QStringLiteral("timingOfMonth"), QString::number(lists[0][next[0]].month));
        }
    }
    x.saved.emplace_back(QStringLiteral("THIS_YEAR/THIS_YEAR"), QString::number(end.year));
    for (auto &[tick, events] : x.byTick)
        std::sort(events.begin(), events.end());
    return x;
}

QString localText(qint64 at, const QTimeZone &zone)
{
    return QDateTime::fromSecsSinceEpoch(at, zone).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

TEST(SimSoak, RandomTablesAndSleepsAgreeWithTheRules)
{
    QRandomGenerator random(20260307);
    const int runs = trialCount(3, 16);
    const int days = trialCount(40, 400);
    int firings = 0, reports = 0, sleeps = 0, wrongTicks = 0, wrongDates = 0;
    for (int run = 0; run < runs; ++run) {
        const Soak s = randomSoak(random, days);
        const QTimeZone zone(s.zone.toLatin1());
        SCOPED_TRACE(QStringLiteral("run %1 in %2 from %3")
                         .arg(run)
                         .arg(s.zone, localText(s.from, zone))
                         .toStdString());
        QTemporaryDir dir;
        const QString store = dir.filePath(QStringLiteral("Tickwell.conf"));
        QFile file(store);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(storeFile(s));
        file.close();

        QStringList arguments{QStringLiteral("--store"), store, QStringLiteral("--from"),
            localText(s.from, zone), QStringLiteral("--to"), localText(s.to, zone), QStringLiteral("--save")};
        for (const auto &[a, b] : s.asleep)
            arguments << QStringLiteral("--asleep") << localText(a, zone) + u'/' + localText(b, zone);
        QProcess sim;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TZ"), zoneForChildProcess(s.zone).value_or(s.zone));
        sim.setProcessEnvironment(env);
        sim.start(QStringLiteral(TICKWELL_SIM), arguments);
        ASSERT_TRUE(sim.waitForFinished(300000));
        ASSERT_EQ(sim.exitCode(), 0) << sim.readAllStandardError().constData();

        std::map<QString, std::vector<QString>> seen;
        int sound = 0;
        for (const QByteArray &line : sim.readAllStandardOutput().split('\n')) {
            if (line.isEmpty())
                continue;
            const QJsonObject call = QJsonDocument::fromJson(line).object();
            if (call[QStringLiteral("call")] == QLatin1String("PlayEntrySound")) {
                sound = call[QStringLiteral("schedule")].toInt();
                continue;
            }
            const QString text = call[QStringLiteral("text")].toString();
            QString what = QStringLiteral("fire");
            if (text.startsWith(kReportHead)) {
                what = QStringLiteral("report");
                const qsizetype mark = text.indexOf(QStringLiteral("曜設定"));
                if (mark > 0)
                    what += u' ' + text.at(mark - 1);
            }
            seen[call[QStringLiteral("at")].toString()].push_back(
                QStringLiteral("%1 %2").arg(sound).arg(what));
        }
        for (auto &[tick, events] : seen)
            std::sort(events.begin(), events.end());

        const Model model(zone, s.from, s.to, s.asleep);
        const Expectation expected = expect(s, model);
        for (const auto &[tick, events] : expected.byTick) {
            const auto found = seen.find(tick);
            if (found == seen.end() || found->second != events) {
                ++wrongTicks;
                ADD_FAILURE() << "at " << tick.toStdString() << ": expected " << events.size() << " events ["
                              << QStringList(events.begin(), events.end()).join(", ").toStdString()
                              << "], saw ["
                              << (found == seen.end()
                                         ? std::string()
                                         : QStringList(found->second.begin(), found->second.end())
                                               .join(", ")
                                               .toStdString())
                              << "]";
            }
        }
        for (const auto &[tick, events] : seen) {
            if (!expected.byTick.contains(tick)) {
                ++wrongTicks;
                ADD_FAILURE() << "at " << tick.toStdString() << ": unexpected ["
                              << QStringList(events.begin(), events.end()).join(", ").toStdString() << "]";
            }
        }
        const QSettings saved(store, QSettings::IniFormat);
        for (const auto &[key, value] : expected.saved) {
            const QString got = saved.value(key).toString();
            if (got != value) {
                ++wrongDates;
                ADD_FAILURE() << key.toStdString() << " saved as " << got.toStdString() << ", expected "
                              << value.toStdString();
            }
        }
        firings += expected.firings;
        reports += expected.reports;
        sleeps += static_cast<int>(s.asleep.size());
    }
    recordFigure(QStringLiteral("random tables and sleeps through tickwell-sim"),
        QStringLiteral(
            "%1 runs of %2 days in 4 zones, %3 sleeps; %4 firings and %5 reports expected by a model "
            "of the rules, and the dates each exit save names")
            .arg(runs)
            .arg(days)
            .arg(sleeps)
            .arg(firings)
            .arg(reports),
        wrongTicks + wrongDates == 0
            ? QStringLiteral(
                "nothing: every minute's firings and reports as the model says, every saved date right")
            : QStringLiteral("%1 minutes and %2 saved dates differ").arg(wrongTicks).arg(wrongDates));
}

} // namespace
