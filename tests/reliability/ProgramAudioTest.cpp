// The real program's WAV sounds when the audio server goes away: killed
// while a file plays, and gone before the program starts. A firing without a
// server must give a clear message and still open its notice window, and the
// next firing once the server is back must be heard. Firing times come from
// a clock moved with libfaketime.
#include "AppDesktopFixture.h"
#include "FakeClock.h"
#include "Figures.h"
#include "MonitorRecording.h"
#include "ProgramWindows.h"
#include "RigAudioServer.h"
#include "ToneAnalysis.h"
#include "WaveFiles.h"

#include <QDir>
#include <QTest>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

using namespace DesktopProbe;

const char *const kZone = "Asia/Tokyo";

QDateTime at(int hour, int minute, int second)
{
    return QDateTime(QDate(2026, 3, 2), QTime(hour, minute, second), QTimeZone(kZone));
}

class ProgramAudio : public AppDesktopTest
{
protected:
    void SetUp() override
    {
        AppDesktopTest::SetUp();
        if (!FakeClock::available())
            GTEST_SKIP() << "libfaketime is not installed";
        ASSERT_TRUE(RigAudioServer::available());
        m_long = QDir(home.config.path()).filePath(QStringLiteral("long.wav"));
        m_short = QDir(home.config.path()).filePath(QStringLiteral("short.wav"));
        ASSERT_EQ(
            makeSineWave(m_long, 500, 6000, {QStringLiteral("-r"), QStringLiteral("44100")}), QString());
        ASSERT_EQ(
            makeSineWave(m_short, 700, 700, {QStringLiteral("-r"), QStringLiteral("22050")}), QString());
        // Monday 2 March 2026: a long WAV at 10:00, a short one at 10:01 and
        // at 10:02.
        CTickwellDoc doc;
        doc.THIS_YEAR = 2026;
        const std::pair<int, const QString *> times[] = {{0, &m_long}, {1, &m_short}, {2, &m_short}};
        for (int i = 0; i < 3; ++i) {
            ScheduleEntry &e = doc.schedules[i];
            e.valid = 1;
            e.Mon = 1;
            e.htime = 10;
            e.mtime = times[i].first;
            e.sound = ScheduleEntry::WaveFile;
            e.waveFilePath = *times[i].second;
            e.msg = QStringLiteral("音の予定%1").arg(i + 1);
        }
        writeStore(doc);
    }

    TickwellProcess &startOnClock(FakeClock &clock, const QDateTime &moment)
    {
        clock.set(moment);
        const FakeClock::Scope faked(clock, kZone);
        return startRunning();
    }

    // Closes message boxes (modal, unlike notice windows) with Enter until
    // the given number of notice windows is open; how many boxes it closed.
    int dismissBoxesUntil(int notices)
    {
        int boxes = 0;
        waitUntil(
            [&] {
                int open = 0;
                bool box = false;
                for (const Window &w : tickwellWindows()) {
                    if (properties(w.id).contains(QStringLiteral("_NET_WM_STATE_MODAL")))
                        box = true;
                    else
                        ++open;
                }
                if (box) {
                    QTest::qWait(300);
                    keys({QStringLiteral("Return")}); // the box has the focus
                    ++boxes;
                    QTest::qWait(500);
                    return false;
                }
                return open == notices;
            },
            15000);
        return boxes;
    }

    // Whether the short WAV is heard when the clock reaches moment's next
    // minute.
    bool heardAt(FakeClock &clock, const QDateTime &moment, int notices)
    {
        MonitorRecording recording;
        if (!recording.start().isEmpty())
            return false;
        clock.set(moment);
        waitUntil([&] { return static_cast<int>(tickwellWindows().size()) >= notices; }, 10000);
        QTest::qWait(1200);
        const std::vector<float> samples = recording.stop();
        return ToneAnalysis(samples, MonitorRecording::kRate).spans(700).size() == 1;
    }

    QString m_long;
    QString m_short;
};

// Without sound, every firing says so and opens its notice; the first firing
// after the server is back is heard, however long it was gone.
TEST_F(ProgramAudio, ServerKilledWhilePlayingAndGoneAtStart)
{
    if (trialCount(0, 1) == 0)
        GTEST_SKIP() << "a minute long: make reliability runs it; make test has AudioServerLossTest";
    QProcess silence;
    ASSERT_EQ(MonitorRecording::keepSinkRunning(silence), QString());
    RigAudioServer server;
    FakeClock clock(QDir(home.runtime.path()).filePath(QStringLiteral("faketime")));
    int boxes = 0, noticesAfterBoxes = 0;

    // Killed under a playing file and gone for longer than a quick restart:
    // the firing in between says so, the next one is heard.
    TickwellProcess &copy = startOnClock(clock, at(9, 59, 56));
    ASSERT_TRUE(icon);
    EXPECT_EQ(dismissBoxesUntil(1), 0);
    QTest::qWait(800);
    ASSERT_TRUE(server.kill());
    clock.set(at(10, 0, 59));
    ASSERT_TRUE(waitUntil([] { return tickwellWindows().size() == 2; }, 5000)) << "no message box at 10:01";
    QTest::qWait(5000);
    ASSERT_TRUE(server.start());
    const int boxesAt1001 = dismissBoxesUntil(2);
    EXPECT_EQ(boxesAt1001, 1);
    boxes += boxesAt1001;
    noticesAfterBoxes += tickwellWindows().size() == 2 ? 1 : 0;
    const bool heardAfterReturn = heardAt(clock, at(10, 1, 57), 3);
    EXPECT_TRUE(heardAfterReturn) << "the sound after the server came back";
    EXPECT_EQ(dismissBoxesUntil(3), 0) << "a message box after the server came back";
    copy.signal(SIGTERM);
    ASSERT_TRUE(copy.waitForExit(8000));
    EXPECT_TRUE(copy.exitedNormally());
    copies.clear();
    ASSERT_TRUE(waitUntil([] { return trayIcons().empty() && tickwellWindows().empty(); }, 5000));

    // Gone before the start: the firing says so and opens its notice; the
    // next one, once the server is back, is heard.
    ASSERT_TRUE(server.kill());
    TickwellProcess &late = startOnClock(clock, at(9, 59, 56));
    ASSERT_TRUE(icon);
    const int boxesAt1000 = dismissBoxesUntil(1);
    EXPECT_EQ(boxesAt1000, 1) << "no clear message without a server";
    boxes += boxesAt1000;
    noticesAfterBoxes += tickwellWindows().size() == 1 ? 1 : 0;
    ASSERT_TRUE(server.start());
    const bool heardAfterStartWithout = heardAt(clock, at(10, 0, 57), 2);
    EXPECT_TRUE(heardAfterStartWithout) << "the sound after a start without a server";
    EXPECT_EQ(dismissBoxesUntil(2), 0) << "a message box after the server came back";
    EXPECT_TRUE(late.running());
    late.signal(SIGTERM);
    ASSERT_TRUE(late.waitForExit(8000));
    EXPECT_TRUE(late.exitedNormally());
    copies.clear();
    ASSERT_TRUE(waitUntil([] { return trayIcons().empty() && tickwellWindows().empty(); }, 5000));
    silence.kill();
    silence.waitForFinished(3000);

    recordFigure(QStringLiteral("audio server lost (real program, faked clock)"),
        QStringLiteral(
            "a WAV firing with the server killed under it and started again; a start with no server "
            "and the server started later; a firing without a server and one after its return in each"),
        QStringLiteral(
            "%1 of 2 firings without a server showed a message box and then their notice (%2 of 2); "
            "after the server's return the next sound was %3; after a start without a server it was %4")
            .arg(boxes)
            .arg(noticesAfterBoxes)
            .arg(heardAfterReturn ? QStringLiteral("heard") : QStringLiteral("NOT heard"))
            .arg(heardAfterStartWithout ? QStringLiteral("heard") : QStringLiteral("NOT heard")));
}

} // namespace
