// One copy per user, under pressure: many copies started at the same moment
// leave exactly one running, with one tray icon, and none of the others
// touches the store; a copy killed with SIGKILL leaves a lock that does not
// keep the next one from starting.
#include "AppDesktopFixture.h"
#include "Figures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace DesktopProbe;

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(AppDesktopTest, ManyCopiesAtOnceLeaveOneAndAKilledCopyDoesNotBlockTheNext)
{
    CTickwellDoc doc;
    doc.THIS_YEAR = currentYear();
    doc.schedules[0].msg = QStringLiteral("一つだけ");
    writeStore(doc);
    const QByteArray stored = fileBytes(home.storePath());
    const QString storeFolder = QFileInfo(home.storePath()).path();

    const int rounds = trialCount(1, 3);
    const int copiesAtOnce = trialCount(12, 50);
    int survivors = 0, endedCleanly = 0, started = 0, mostIcons = 0, storeTouched = 0;
    qint64 slowestEnd = 0;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(round);
        std::vector<TickwellProcess *> batch;
        for (int i = 0; i < copiesAtOnce; ++i)
            batch.push_back(&startCopy());
        started += copiesAtOnce;
        QElapsedTimer clock;
        clock.start();
        const auto running = [&] {
            return static_cast<int>(
                std::count_if(batch.begin(), batch.end(), [](auto *c) { return c->running(); }));
        };
        while (running() > 1 && clock.elapsed() < 60000) {
            mostIcons = std::max(mostIcons, static_cast<int>(trayIcons().size()));
            QTest::qWait(100);
        }
        slowestEnd = std::max(slowestEnd, clock.elapsed());
        QTest::qWait(1500); // a late loser would show up now
        EXPECT_EQ(running(), 1);
        survivors += running() == 1 ? 1 : 0;
        for (TickwellProcess *c : batch) {
            if (!c->running())
                endedCleanly += c->exitedNormally() && c->exitCode() == 0 ? 1 : 0;
        }
        EXPECT_TRUE(waitForTrayIcon());
        mostIcons = std::max(mostIcons, static_cast<int>(trayIcons().size()));
        const bool untouched = fileBytes(home.storePath()) == stored
            && QDir(storeFolder).entryList(QDir::Files | QDir::Hidden).size() == 1;
        EXPECT_TRUE(untouched) << "a copy wrote the store";
        storeTouched += untouched ? 0 : 1;
        for (TickwellProcess *c : batch)
            c->signal(SIGTERM);
        for (TickwellProcess *c : batch)
            c->waitForExit(8000);
        copies.clear();
        ASSERT_TRUE(waitUntil([] { return trayIcons().empty(); }, 5000));
        writeStore(doc);
    }
    EXPECT_EQ(mostIcons, 1);
    EXPECT_EQ(endedCleanly, started - rounds);

    // Killed copies, one after another: each leaves its lock file and socket.
    const int kills = trialCount(2, 20);
    int nextStarted = 0;
    qint64 slowestStart = 0;
    for (int k = 0; k < kills; ++k) {
        TickwellProcess &copy = startCopy();
        QElapsedTimer clock;
        clock.start();
        const bool up = waitForTrayIcon(15000).has_value();
        slowestStart = std::max(slowestStart, clock.elapsed());
        EXPECT_TRUE(up) << "kill " << k << ": the copy after a killed one did not start";
        nextStarted += up ? 1 : 0;
        copy.signal(SIGKILL);
        copy.waitForExit(5000);
        copies.clear();
        ASSERT_TRUE(waitUntil([] { return trayIcons().empty(); }, 5000));
    }
    EXPECT_LT(slowestStart, 10000);

    recordFigure(QStringLiteral("single copy under pressure (real program)"),
        QStringLiteral("%1 rounds of %2 copies started at once; then %3 copies each killed with SIGKILL and "
                       "followed by a new start")
            .arg(rounds)
            .arg(copiesAtOnce)
            .arg(kills),
        QStringLiteral(
            "%1: %2 of %3 rounds left exactly one copy (the others ended with status 0: %4 of %5, the "
            "last after %6 ms), at most %7 tray icon at a time, the store touched in %8 rounds; %9 of "
            "%10 starts after a killed copy came up (slowest %11 ms)")
            .arg(survivors == rounds && storeTouched == 0 && mostIcons == 1 && nextStarted == kills
                    ? QStringLiteral("nothing")
                    : QStringLiteral("LOST"))
            .arg(survivors)
            .arg(rounds)
            .arg(endedCleanly)
            .arg(started - rounds)
            .arg(slowestEnd)
            .arg(mostIcons)
            .arg(storeTouched)
            .arg(nextStarted)
            .arg(kills)
            .arg(slowestStart));
}

} // namespace
