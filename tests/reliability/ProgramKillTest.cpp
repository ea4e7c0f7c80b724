// The real program killed with SIGKILL at random moments of its saves: the
// exit save (after SIGTERM), and the settings dialog's Apply and OK. After
// every kill the store must load as the whole old table or the whole new
// one, and what a killed save leaves behind must not hold up the next one.
#include "AppDesktopFixture.h"
#include "CTickwellDoc.h"
#include "CalendarRules.h"
#include "Figures.h"
#include "ScheduleStore.h"
#include "SettingsProfileStore.h"
#include "StoreTestSupport.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using namespace std::chrono_literals;

const int kYear = QDate::currentDate().year();

// Ten schedules a user could have made, every one disabled so that nothing
// fires, with long messages so that a save takes long enough to be cut.
ScheduleTable userTable()
{
    ScheduleTable table;
    for (int i = 0; i < ScheduleTable::kSize; ++i) {
        ScheduleEntry &e = table[i];
        e.kind = i % 3;
        e.htime = (i * 5) % 24;
        e.mtime = (i * 7) % 60;
        e.bAfterAction = i % 2;
        e.msg = QStringLiteral("予定%1: 会議室の予約を確認する。").arg(i + 1).repeated(30);
        for (int w = 0; w < 7; ++w) {
            e.weekdayFlag(w) = (i + w) % 3 == 0 ? 1 : 0;
            e.nextDay(w) = 100 + i * 7 + w;
        }
        e.dayOfMonth = 1 + i * 3;
        e.timingOfYear = kYear - 1;
        e.timingOfMonth = 1 + i;
        e.OnceActionYear = kYear;
        e.OnceActionMonth = 1 + i;
        e.OnceActionDay = 10 + i;
        e.sound = i % 3;
        e.waveFilePath = QStringLiteral("/音/%1.wav").arg(i + 1);
    }
    return table;
}

// The store file of a table, as the program writes it.
QByteArray storeBytes(const ScheduleTable &table, int thisYear)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tickwell.conf"));
    {
        SettingsProfileStore profile(path);
        CTickwellDoc doc;
        doc.THIS_YEAR = thisYear;
        ScheduleStore(profile).StoreTable(table, doc);
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Loads what is on disk now, from a copy under a new name so that nothing
// this process remembers of the file counts.
ScheduleTable loadNow(const QString &store, int &thisYear)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("copy.conf"));
    QFile::copy(store, copy);
    return loadStoreFile(copy, &thisYear);
}

bool putFile(const QString &path, const QByteArray &bytes)
{
    // Written in place, so that whatever a killed save left beside it stays.
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
        && file.flush();
}

// One user of the program with a store and a runtime folder of its own,
// started with posix_spawn so that several users can run side by side from
// threads of this test.
class User
{
public:
    User() { QDir().mkpath(storeFolder()); }
    QString storeFolder() const { return QDir(m_config.path()).filePath(QStringLiteral("KESTRAVON")); }
    QString store() const { return QDir(storeFolder()).filePath(QStringLiteral("Tickwell.conf")); }
    QString socket() const { return QDir(m_runtime.path()).filePath(QStringLiteral("Tockwell")); }

    pid_t start() const
    {
        std::vector<std::string> strings;
        for (char **e = environ; *e; ++e) {
            const std::string entry(*e);
            if (entry.rfind("XDG_CONFIG_HOME=", 0) != 0 && entry.rfind("XDG_RUNTIME_DIR=", 0) != 0)
                strings.push_back(entry);
        }
        strings.push_back("XDG_CONFIG_HOME=" + m_config.path().toStdString());
        strings.push_back("XDG_RUNTIME_DIR=" + m_runtime.path().toStdString());
        std::vector<char *> env;
        for (std::string &s : strings)
            env.push_back(s.data());
        env.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        char program[] = TICKWELL_EXECUTABLE;
        char *argv[] = {program, nullptr};
        pid_t pid = -1;
        if (posix_spawn(&pid, program, &actions, nullptr, argv, env.data()) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

private:
    QTemporaryDir m_config;
    QTemporaryDir m_runtime;
};

// Waits for a child to end; its status, or -1 after the time is up.
int waitForChild(pid_t pid, std::chrono::milliseconds patience)
{
    const auto until = std::chrono::steady_clock::now() + patience;
    int status = 0;
    while (std::chrono::steady_clock::now() < until) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return status;
        std::this_thread::sleep_for(5ms);
    }
    return -1;
}

// A watch on the store folder for the first file a save creates there (its
// lock or its temporary file).
class SaveWatch
{
public:
    explicit SaveWatch(const QString &folder)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (m_fd >= 0)
            inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_CREATE | IN_MOVED_TO);
    }
    ~SaveWatch()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool waitForCreation(int timeoutMs) const
    {
        pollfd p{m_fd, POLLIN, 0};
        return m_fd >= 0 && ::poll(&p, 1, timeoutMs) == 1;
    }

private:
    int m_fd;
};

struct LaneResult
{
    int kills = 0;
    int inTheSave = 0;  // aimed at a save that had begun
    int oldTable = 0;   // the store still held the table from before
    int newTable = 0;   // the store held the table the save wrote
    int endedFirst = 0; // the program had finished before the kill
    int broken = 0;     // neither table
    int notStarted = 0;
    int leftovers = 0;  // lock or temporary files found after a kill
    int finalSaves = 0; // normal exits after the kills that saved
    QString firstProblem;
};

// Kills the program during its exit save, again and again, for one user.
LaneResult killExitSaves(int kills, quint32 seed)
{
    LaneResult r;
    QRandomGenerator random(seed);
    User user;
    const ScheduleTable oldTable = userTable();
    ScheduleTable newTable = oldTable;
    int year = kYear - 1;
    RollOverYear(newTable, year, kYear);
    const QByteArray oldBytes = storeBytes(oldTable, kYear - 1);

    const auto startReady = [&]() -> pid_t {
        const pid_t pid = user.start();
        const auto until = std::chrono::steady_clock::now() + 10s;
        while (pid > 0 && !QFile::exists(user.socket()) && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(10ms);
        // Past the load and the first tick, which moves the table into this year.
        std::this_thread::sleep_for(1400ms);
        return pid;
    };

    for (int k = 0; k < kills; ++k) {
        if (!putFile(user.store(), oldBytes)) {
            r.firstProblem = QStringLiteral("cannot write the store");
            break;
        }
        QFile::remove(user.socket()); // so that readiness is seen afresh
        const pid_t pid = startReady();
        if (pid <= 0) {
            ++r.notStarted;
            continue;
        }
        const bool aimAtSave = random.bounded(100) < 70;
        SaveWatch watch(user.storeFolder());
        ::kill(pid, SIGTERM);
        if (aimAtSave) {
            if (watch.waitForCreation(4000))
                ++r.inTheSave;
            // A save takes about two milliseconds from its lock to its end.
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(2500)));
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(random.bounded(1400)));
        }
        ::kill(pid, SIGKILL);
        const int status = waitForChild(pid, 10s);
        ++r.kills;
        if (WIFEXITED(status))
            ++r.endedFirst;

        int thisYear = 0;
        const ScheduleTable loaded = loadNow(user.store(), thisYear);
        if (loaded == oldTable && thisYear == kYear - 1) {
            ++r.oldTable;
        } else if (loaded == newTable && thisYear == kYear) {
            ++r.newTable;
        } else {
            ++r.broken;
            if (r.firstProblem.isEmpty())
                r.firstProblem = QStringLiteral("kill %1: the store held neither table (THIS_YEAR %2)")
                                     .arg(k)
                                     .arg(thisYear);
        }
        const QStringList left = QDir(user.storeFolder()).entryList(QDir::Files | QDir::Hidden);
        r.leftovers += left.size() > 1 ? 1 : 0;
    }

    // What the kills left behind must not hold up a normal run.
    if (putFile(user.store(), oldBytes)) {
        QFile::remove(user.socket());
        const pid_t pid = startReady();
        ::kill(pid, SIGTERM);
        const int status = waitForChild(pid, 6s);
        int thisYear = 0;
        const ScheduleTable loaded = loadNow(user.store(), thisYear);
        r.finalSaves = status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 && loaded == newTable
            && thisYear == kYear;
        if (status < 0)
            ::kill(pid, SIGKILL), waitForChild(pid, 5s);
    }
    return r;
}

TEST(ProgramKill, ExitSaveKilledAtRandomLeavesOneWholeTable)
{
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("TICKWELL_RIG_DIR")) << "runs inside tests/desktop-session";
    const int lanes = trialCount(2, 6);
    const int killsPerLane = trialCount(2, 84);
    std::vector<LaneResult> results(static_cast<std::size_t>(lanes));
    std::vector<std::thread> threads;
    for (int lane = 0; lane < lanes; ++lane) {
        threads.emplace_back([&, lane] {
            results[static_cast<std::size_t>(lane)]
                = killExitSaves(killsPerLane, 7919u * static_cast<quint32>(lane + 1));
        });
    }
    for (std::thread &t : threads)
        t.join();

    LaneResult total;
    for (const LaneResult &r : results) {
        EXPECT_EQ(r.firstProblem, QString());
        EXPECT_EQ(r.finalSaves, 1) << "a normal exit after the kills did not save";
        total.kills += r.kills;
        total.inTheSave += r.inTheSave;
        total.oldTable += r.oldTable;
        total.newTable += r.newTable;
        total.endedFirst += r.endedFirst;
        total.broken += r.broken;
        total.notStarted += r.notStarted;
        total.leftovers += r.leftovers;
        total.finalSaves += r.finalSaves;
    }
    EXPECT_EQ(total.kills, lanes * killsPerLane);
    EXPECT_EQ(total.broken, 0);
    EXPECT_EQ(total.notStarted, 0);
    recordFigure(QStringLiteral("kill -9 during the exit save (real program)"),
        QStringLiteral("%1 kills by SIGKILL after SIGTERM, %2 users side by side: %3 within 2.5 ms of the "
                       "lock file that "
                       "starts the save, the rest at any moment of the 1.4 s after SIGTERM")
            .arg(total.kills)
            .arg(lanes)
            .arg(total.inTheSave),
        QStringLiteral("%8: %1 loads gave the whole old table, %2 the whole new one, %3 neither; %4 runs had "
                       "ended before the kill; %5 kills left a lock or temporary file beside the store, and "
                       "a normal exit "
                       "after the kills saved for %6 of %7 users")
            .arg(total.oldTable)
            .arg(total.newTable)
            .arg(total.broken)
            .arg(total.endedFirst)
            .arg(total.leftovers)
            .arg(total.finalSaves)
            .arg(lanes)
            .arg(total.broken == 0 && total.finalSaves == lanes ? QStringLiteral("nothing")
                                                                : QStringLiteral("LOST")));
}

// The settings dialog's buttons, in the dialog units of its template.
const QSize kDialogSize(249, 285);
const QRect kOkButton(93, 267, 50, 14);
const QRect kApplyButton(195, 267, 50, 14);
// A save from the dialog takes longer from its lock file to its end than the
// exit save, as the dialog's own work shares the thread: kills are spread
// over this many microseconds after the lock file appears.
constexpr int kDialogSaveSpreadUs = 6000;

class DialogSaveKill : public AppDesktopTest
{
protected:
    // Starts the program on the old store, waits for its first tick and
    // opens the settings dialog; false if something did not come up.
    bool openDialog(const QByteArray &oldBytes)
    {
        if (!putFile(home.storePath(), oldBytes))
            return false;
        TickwellProcess &copy = startRunning();
        if (!icon)
            return false;
        m_copy = &copy;
        QTest::qWait(1400);
        DesktopProbe::moveMouse(icon->geometry.center());
        DesktopProbe::click(1, 2);
        m_dialog = waitForWindow(QStringLiteral("スケジュール設定画面"));
        return m_dialog.has_value();
    }

    // Clicks the button without waiting for the click to be done, so that
    // the watch on the store folder is waiting when the save begins.
    void press(const QRect &button)
    {
        DesktopProbe::moveMouse(DesktopProbe::dialogPoint(*m_dialog, kDialogSize, button));
        QTest::qWait(100);
        QProcess::startDetached(QStringLiteral("xdotool"), {QStringLiteral("click"), QStringLiteral("1")});
    }

    void killCopy()
    {
        m_copy->signal(SIGKILL);
        m_copy->waitForExit(5000);
        copies.clear();
        waitUntil([] { return DesktopProbe::programWindows().empty(); }, 5000);
    }

    TickwellProcess *m_copy = nullptr;
    std::optional<DesktopProbe::Window> m_dialog;
};

TEST_F(DialogSaveKill, OkAndApplyKilledAtRandomLeaveOneWholeTable)
{
    const ScheduleTable oldTable = userTable();
    const QByteArray oldBytes = storeBytes(oldTable, kYear - 1);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(home.storePath()).path()));
    QRandomGenerator random(4242);
    const int kills = trialCount(1, 10);
    int oldCount = 0, newCount = 0, broken = 0, inTheSave = 0, total = 0;
    // make test kills Apply only; make reliability both.
    std::vector<QRect> buttons{kApplyButton};
    if (trialCount(0, 1) == 1)
        buttons.push_back(kOkButton);
    for (const QRect &button : buttons) {
        const bool apply = button == kApplyButton;
        SCOPED_TRACE(apply ? "Apply" : "OK");
        // What the button writes, when nothing interrupts it.
        ASSERT_TRUE(openDialog(oldBytes));
        press(button);
        int year = 0;
        ScheduleTable saved;
        ASSERT_TRUE(waitUntil(
            [&] {
                saved = loadNow(home.storePath(), year);
                return year == kYear;
            },
            5000));
        killCopy();

        for (int k = 0; k < kills; ++k) {
            ASSERT_TRUE(openDialog(oldBytes));
            SaveWatch watch(QFileInfo(home.storePath()).path());
            press(button);
            if (watch.waitForCreation(4000))
                ++inTheSave;
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(kDialogSaveSpreadUs)));
            killCopy();
            ++total;
            const ScheduleTable loaded = loadNow(home.storePath(), year);
            if (loaded == oldTable && year == kYear - 1)
                ++oldCount;
            else if (loaded == saved && year == kYear)
                ++newCount;
            else
                ++broken;
        }
    }
    EXPECT_EQ(broken, 0);
    recordFigure(QStringLiteral("kill -9 during the settings dialog's Apply and OK (real program)"),
        QStringLiteral("%1 kills by SIGKILL after %3, %2 within 6 ms of the lock file "
                       "that starts the save")
            .arg(total)
            .arg(inTheSave)
            .arg(buttons.size() == 2 ? QStringLiteral("Apply (half of them) and OK")
                                     : QStringLiteral("Apply")),
        QStringLiteral(
            "%4: %1 loads gave the whole old table, %2 the whole table the button writes, %3 neither")
            .arg(oldCount)
            .arg(newCount)
            .arg(broken)
            .arg(broken == 0 ? QStringLiteral("nothing") : QStringLiteral("LOST")));
}

} // namespace
