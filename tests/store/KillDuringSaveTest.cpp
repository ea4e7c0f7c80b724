#include "StoreTestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

namespace {

struct SaveLog
{
    int begun = 0; // the last save started, 0 if none
    int done = 0;  // the last save finished, 0 if none
};

SaveLog parseLog(const QByteArray &output)
{
    SaveLog log;
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith("B "))
            log.begun = line.mid(2).toInt();
        else if (line.startsWith("E "))
            log.done = line.mid(2).toInt();
    }
    return log;
}

// How long one save of the saver takes, from a run of a few saves.
std::chrono::microseconds saveDuration(const QString &path, const QProcessEnvironment &environment)
{
    constexpr int kSaves = 10;
    QProcess saver;
    saver.setProcessEnvironment(environment);
    saver.start(STORE_SAVE_LOOP, {path + ".timing", "1"});
    if (!saver.waitForStarted(10000) || !saver.waitForReadyRead(10000))
        return {};
    const auto start = std::chrono::steady_clock::now();
    QByteArray output;
    while (parseLog(output).done < kSaves && saver.waitForReadyRead(10000))
        output += saver.readAllStandardOutput();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    saver.kill();
    saver.waitForFinished(10000);
    if (parseLog(output).done < kSaves)
        return {};
    return std::chrono::duration_cast<std::chrono::microseconds>(elapsed) / kSaves;
}

// Kills a saving process at random moments; after each kill the store must
// load as one whole table: the last one saved, or the one being saved.
TEST(KillDuringSave, TheStoreIsAlwaysOneWholeTable)
{
    constexpr int kKills = 200;
    QTemporaryDir dir;
    const QString path = dir.filePath("Tickwell.conf");
    ASSERT_TRUE(QDir(dir.path()).mkdir("tmp"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", dir.filePath("tmp")); // the save's own scratch files

    // Kill moments spread over the first few saves of each run.
    const std::chrono::microseconds save = saveDuration(path, environment);
    ASSERT_GT(save.count(), 0);
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(testing::Message() << "seed " << seed << ", one save " << save.count() << " us");
    std::mt19937 random(seed);
    std::uniform_int_distribution<long long> delayMicroseconds(0, 4 * save.count());

    int stored = 0; // generation in the store; 0: no store yet
    int cutInASave = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess saver;
        saver.setProcessEnvironment(environment);
        saver.start(STORE_SAVE_LOOP, {path, QString::number(stored + 1)});
        ASSERT_TRUE(saver.waitForStarted(10000));
        ASSERT_TRUE(saver.waitForReadyRead(10000)); // the first save has begun
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        saver.kill();
        ASSERT_TRUE(saver.waitForFinished(10000));
        ASSERT_EQ(saver.exitStatus(), QProcess::CrashExit) << saver.readAllStandardError().toStdString();

        const SaveLog log = parseLog(saver.readAllStandardOutput());
        const int lastDone = log.done ? log.done : stored;
        int found = 0;
        if (QFile::exists(path)) {
            // A copy, so that nothing this process remembers of the file counts.
            const QString copy = dir.filePath(QString("copy%1.conf").arg(kill));
            ASSERT_TRUE(QFile::copy(path, copy));
            int thisYear = 0;
            const ScheduleTable table = loadStoreFile(copy, &thisYear);
            found = generationOf(table, thisYear);
            QFile::remove(copy);
        }
        SCOPED_TRACE(
            testing::Message() << "kill " << kill << ", begun " << log.begun << ", done " << log.done);
        ASSERT_TRUE(found == lastDone || found == log.begun) << "found generation " << found;
        if (log.begun > log.done)
            ++cutInASave;
        stored = found;
    }
    // Almost all of its time the saver is saving; most kills must cut a save.
    EXPECT_GE(cutInASave, kKills / 2);
    EXPECT_GT(stored, 0);
    RecordProperty("KillsDuringASave", cutInASave);
}

} // namespace
