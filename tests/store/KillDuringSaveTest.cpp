#include "StoreTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

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

// How long a fresh saver takes for its first save, the one the kills aim at:
// the median of a few runs.
std::chrono::microseconds firstSaveDuration(const QString &path, const QProcessEnvironment &environment)
{
    std::vector<std::chrono::microseconds> durations;
    for (int run = 0; run < 5; ++run) {
        QProcess saver;
        saver.setProcessEnvironment(environment);
        saver.start(STORE_SAVE_LOOP, {path, QString::number(run + 1)});
        if (!saver.waitForStarted(10000) || !saver.waitForReadyRead(10000))
            return {};
        const auto start = std::chrono::steady_clock::now();
        QByteArray output = saver.readAllStandardOutput();
        while (parseLog(output).done == 0 && saver.waitForReadyRead(10000))
            output += saver.readAllStandardOutput();
        durations.push_back(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start));
        saver.kill();
        saver.waitForFinished(10000);
        if (parseLog(output).done == 0)
            return {};
    }
    std::sort(durations.begin(), durations.end());
    return durations[durations.size() / 2];
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

    // Kill moments spread over the first save of each run and as long again.
    const std::chrono::microseconds save = firstSaveDuration(dir.filePath("timing.conf"), environment);
    ASSERT_GT(save.count(), 0);
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(testing::Message() << "seed " << seed << ", one save " << save.count() << " us");
    std::mt19937 random(seed);
    // The window the kills fall in: twice the measured save to begin with, then
    // widened or narrowed every few kills when one outcome keeps failing to come
    // up, since a loaded machine saves far slower (or faster) than it did while
    // being measured.
    long long window = 2 * save.count();

    int stored = 0; // generation in the store; 0: no store yet
    int keptOld = 0;
    int tookNew = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        if (kill > 0 && kill % 20 == 0) {
            if (tookNew * 4 < keptOld)
                window *= 2;
            else if (keptOld * 4 < tookNew)
                window = std::max(window / 2, 1LL);
        }
        std::uniform_int_distribution<long long> delayMicroseconds(0, window);
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
            testing::Message() << "kill " << kill << ", begun " << log.begun << ", done " << log.done
                               << ", window " << window << " us");
        ASSERT_TRUE(found == lastDone || found == log.begun) << "found generation " << found;
        ++(found == stored ? keptOld : tookNew);
        stored = found;
    }
    // Both outcomes must have come up often enough to mean something.
    EXPECT_GE(keptOld, kKills / 40);
    EXPECT_GE(tookNew, kKills / 40);
    RecordProperty("KeptOld", keptOld);
    RecordProperty("TookNew", tookNew);
}

} // namespace
