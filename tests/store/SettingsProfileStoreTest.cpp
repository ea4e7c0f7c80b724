#include "SettingsProfileStore.h"
#include "CTickwellDoc.h"
#include "ExitSave.h"
#include "ScheduleFields.h"
#include "ScheduleStore.h"
#include "StoreTestSupport.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <csignal>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>

namespace {

bool saveFile(const QString &path, const ScheduleTable &table, int thisYear)
{
    SettingsProfileStore profile(path);
    CTickwellDoc doc;
    doc.THIS_YEAR = thisYear;
    RecordingPresenter messages;
    return ScheduleStore(profile).SaveSchedules(table, doc, messages);
}

// A second run sees only what is on disk: a copy under a new name is read
// afresh, never from what this process still remembers of the original.
QString copyOf(const QString &path)
{
    static int copies = 0;
    const QString copy = path + QString(".copy%1").arg(++copies);
    EXPECT_TRUE(QFile::copy(path, copy));
    return copy;
}

TEST(SettingsProfileStore, ExtremeNumbersAndTrickyTextsSurviveTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Tickwell.conf");
    ASSERT_TRUE(saveFile(path, extremeTable(), INT_MIN));

    int thisYear = 0;
    EXPECT_EQ(loadStoreFile(copyOf(path), &thisYear), extremeTable());
    EXPECT_EQ(thisYear, INT_MIN);

    // Read with plain QSettings too: the texts are kept as they were given.
    QSettings settings(copyOf(path), QSettings::IniFormat);
    EXPECT_EQ(settings.value("Schedule1/msg"), QVariant(kTrickyTexts[0]));
    EXPECT_EQ(settings.value("Schedule2/msg").toString(), kTrickyTexts[2]);
    EXPECT_EQ(settings.value("THIS_YEAR/THIS_YEAR").toString(), "-2147483648");
}

TEST(SettingsProfileStore, AFileWrittenByTheProgramHoldsExactlyTheLayout)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Tickwell.conf");
    ASSERT_TRUE(saveFile(path, generationTable(1), 2024));
    ASSERT_TRUE(saveFile(path, generationTable(2), 2025));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    std::map<QString, QStringList> sections;
    QString section;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith('['))
            section = QString::fromUtf8(line.mid(1, line.indexOf(']') - 1));
        else if (!line.isEmpty())
            sections[section] << QString::fromUtf8(line.left(line.indexOf('=')));
    }
    std::map<QString, QStringList> expected{{"THIS_YEAR", {"THIS_YEAR"}}};
    for (int n = 1; n <= 10; ++n) {
        for (const ScheduleField &field : scheduleFields())
            expected[QString("Schedule%1").arg(n)] << field.key;
    }
    for (auto &[name, keys] : sections)
        keys.sort();
    for (auto &[name, keys] : expected)
        keys.sort();
    EXPECT_EQ(sections, expected);
    // No lock or temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Tickwell.conf"});
}

TEST(SettingsProfileStore, TheUsersStoreIsTheIniFileInTheXdgConfigFolder)
{
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    SettingsProfileStore profile;
    const QString expected = dir.filePath("KESTRAVON/Tickwell.conf");
    EXPECT_EQ(profile.location(), expected);
    EXPECT_TRUE(profile.WriteProfileInt("THIS_YEAR", "THIS_YEAR", 2024));
    EXPECT_EQ(SettingsProfileStore(copyOf(expected)).GetProfileInt("THIS_YEAR", "THIS_YEAR", 0), 2024);
}

TEST(SettingsProfileStore, ASaveThatCannotBeWrittenIsReportedWithTheLocation)
{
    QTemporaryDir dir;
    // A file where the store's folder should be: even root cannot write there.
    QFile blocker(dir.filePath("KESTRAVON"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = dir.filePath("KESTRAVON/Tickwell.conf");
    SettingsProfileStore profile(path);
    ScheduleStore store(profile);
    CTickwellDoc doc;
    RecordingPresenter messages;
    EXPECT_FALSE(store.SaveSchedules(generationTable(4), doc, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "設定を保存できませんでした。\n" + path);
    EXPECT_EQ(messages.shown[0].icon, MessagePresenter::Icon::Exclamation);
    EXPECT_EQ(doc.schedules, generationTable(4));

    std::ostringstream errors;
    EXPECT_FALSE(ExitSave(
        store, [](auto) {}, &errors)
                     .Run(doc));
    EXPECT_EQ(QString::fromStdString(errors.str()), "設定を保存できませんでした。\n" + path + "\n");

    // Once the way is clear, the next save goes through.
    ASSERT_TRUE(blocker.remove());
    EXPECT_TRUE(store.SaveSchedules(generationTable(5), doc, messages));
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(loadStoreFile(copyOf(path)), generationTable(5));
}

// A lock file whose process is gone, as a killed save leaves it.
void leaveStaleLock(const QString &lockPath)
{
    const pid_t child = fork();
    if (child == 0) {
        QLockFile lock(lockPath);
        _exit(lock.lock() ? 0 : 1); // no destructor: the lock stays
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

void leaveEmptyFile(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// A process killed while taking a lock leaves it empty, and QSettings would
// take it for live until it is 30 seconds old.
TEST(SettingsProfileStore, LocksLeftByAKilledSaveDoNotHoldUpTheNext)
{
    const struct
    {
        const char *name;
        std::function<void(const QString &)> leave;
    } rows[] = {
        {"an empty lock", [](const QString &path) { leaveEmptyFile(path + ".lock"); }},
        {"a stale lock and an empty lock for its removal",
            [](const QString &path) {
                leaveStaleLock(path + ".lock");
                leaveEmptyFile(path + ".lock.rmlock");
            }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("Tickwell.conf");
        ASSERT_TRUE(saveFile(path, generationTable(1), 2024));
        row.leave(path);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(saveFile(path, generationTable(2), 2024));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_EQ(loadStoreFile(copyOf(path)), generationTable(2));
    }
}

std::optional<QByteArray> fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// Keys that someone added by hand and that QSettings cannot write back in a
// form it reads itself do not stop the table from being saved.
TEST(SettingsProfileStore, KeysThatDoNotSurviveQSettingsDoNotFailTheSave)
{
    const QByteArray files[] = {
        "[Schedule2\n\\\n=",
        "[Schedule1]\nvalid=1\n[Extra]\n\\\n=x\n",
    };
    for (const QByteArray &bytes : files) {
        SCOPED_TRACE(bytes.constData());
        QTemporaryDir dir;
        const QString path = dir.filePath("Tickwell.conf");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        EXPECT_TRUE(saveFile(path, generationTable(3), 2025));
        int thisYear = 0;
        EXPECT_EQ(loadStoreFile(copyOf(path), &thisYear), generationTable(3));
        EXPECT_EQ(thisYear, 2025);
    }
}

// A disk that fills up during the save: the old store stays as it was. The
// last block of a file is flushed unchecked by QSaveFile, and a damaged old
// file makes QSettings report a format error that hides a failed write.
TEST(SettingsProfileStore, AFullDiskKeepsTheOldStoreAndIsReported)
{
    const struct
    {
        const char *name;
        std::optional<ScheduleTable> olderTable;
        QByteArray olderBytes;
    } rows[] = {
        {"no store yet", std::nullopt, {}},
        {"an older table", ScheduleTable{}, {}},
        {"a damaged file", std::nullopt, "[Schedule1]\nvalid=1\n[broken section\ngarbage\n"},
    };
    std::signal(SIGXFSZ, SIG_IGN);
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("Tickwell.conf");
        if (row.olderTable) {
            ASSERT_TRUE(saveFile(path, *row.olderTable, 2020));
        }
        if (!row.olderBytes.isEmpty()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(row.olderBytes);
        }
        const std::optional<QByteArray> before = fileBytes(path);

        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit original = limit;
        limit.rlim_cur = 6000; // room for the older table, not for the new one
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        const bool savedOnFullDisk = saveFile(path, generationTable(6), 2024);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &original), 0);
        EXPECT_FALSE(savedOnFullDisk);
        EXPECT_EQ(fileBytes(path), before);

        EXPECT_TRUE(saveFile(path, generationTable(6), 2024));
        int thisYear = 0;
        EXPECT_EQ(loadStoreFile(copyOf(path), &thisYear), generationTable(6));
        EXPECT_EQ(thisYear, 2024);
    }
}

} // namespace
