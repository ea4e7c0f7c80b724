#include "CTickwellDoc.h"
#include "CTickwellView.h"
#include "CallRecorder.h"
#include "ExitSave.h"
#include "ManualClock.h"
#include "MemoryProfileStore.h"
#include "ScheduleStore.h"
#include "SettingsDialogRunner.h"
#include "WallClockTimer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <map>

#include <sstream>

#include <gtest/gtest.h>

namespace {

class RecordingDialog final : public SettingsDialogRunner
{
public:
    void RunModal(CTickwellDoc &doc) override
    {
        ++runs;
        yearSeen = doc.THIS_YEAR;
        if (during)
            during();
    }
    int runs = 0;
    int yearSeen = 0;
    std::function<void()> during;
};

class View : public ::testing::Test
{
protected:
    View() { clock.set(QDateTime(QDate(2026, 12, 7), QTime(9, 59, 59, 300))); }

    CTickwellDoc doc;
    ManualClock clock;
    CallRecorder recorder;
    MemoryProfileStore profile;
    ScheduleStore store{profile};
    RecordingDialog dialog;
    std::vector<std::chrono::milliseconds> waits;
    std::ostringstream errors;
    ExitSave exitSave{store, [this](std::chrono::milliseconds ms) { waits.push_back(ms); }, &errors};
    CTickwellView::Services services{doc, clock, recorder, recorder, store, dialog, exitSave};
};

TEST_F(View, TicksAreAskedForJustAfterEachWholeSecond)
{
    profile.put(QStringLiteral("THIS_YEAR"), QStringLiteral("THIS_YEAR"), 2026);
    CTickwellView view(services);
    view.OnInitialUpdate();
    EXPECT_TRUE(view.timerActive());
    EXPECT_EQ(view.timerInterval(), 700 + 1);
    struct Row
    {
        int millisecondsIntoSecond;
        int interval;
    };
    for (const Row &r : {Row{950, 51}, Row{0, 1001}, Row{5, 996}, Row{999, 2}}) {
        // A drifted timer or a clock set by hand: the next wait re-aligns.
        clock.set(QDateTime(QDate(2026, 12, 7), QTime(10, 0, 1, r.millisecondsIntoSecond)));
        view.OnTimer();
        EXPECT_EQ(view.timerInterval(), r.interval) << r.millisecondsIntoSecond;
    }
}

TEST_F(View, FirstRunOpensTheSettingsWithTheTimerAlreadyRunning)
{
    bool timerWasRunning = false;
    CTickwellView view(services);
    dialog.during = [&] { timerWasRunning = view.timerActive(); };
    view.OnInitialUpdate();
    EXPECT_EQ(dialog.runs, 1);
    EXPECT_TRUE(timerWasRunning);
    EXPECT_EQ(dialog.yearSeen, 2026);
    EXPECT_EQ(doc.bDialogOpen, 0);
    view.OpenSettings();
    EXPECT_EQ(dialog.runs, 2);
}

TEST_F(View, SettingsOpenOnlyOnceAtATime)
{
    profile.put(QStringLiteral("THIS_YEAR"), QStringLiteral("THIS_YEAR"), 2025);
    CTickwellView view(services);
    view.OnInitialUpdate();
    EXPECT_EQ(dialog.runs, 0);
    dialog.during = [&] { view.OpenSettings(); };
    view.OpenSettings();
    EXPECT_EQ(dialog.runs, 1);
    EXPECT_EQ(doc.THIS_YEAR, 2026);
}

TEST_F(View, TheRealTimerKeepsTickingAndFires)
{
    // On the real event loop: a schedule due in this minute fires from the
    // view's own timer.
    profile.put(QStringLiteral("THIS_YEAR"), QStringLiteral("THIS_YEAR"), 2026);
    CTickwellView view(services);
    view.OnInitialUpdate();
    ScheduleEntry &e = doc.schedules[3];
    e.valid = 1;
    e.kind = 2;
    e.OnceActionYear = 2026;
    e.OnceActionMonth = 12;
    e.OnceActionDay = 7;
    e.htime = 10;
    e.mtime = 0;
    clock.set(QDateTime(QDate(2026, 12, 7), QTime(10, 0, 0, 999)));
    QElapsedTimer waited;
    waited.start();
    while (recorder.calls.empty() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(recorder.soundIndexes(), std::vector<int>{3});
    EXPECT_LT(waited.elapsed(), 1000);
}

TEST_F(View, OnTheWallClockTimerTicksComeEachMinuteAndEachSecondWhileABoxIsOpen)
{
    // The minute timer waits by the wall clock for what the test clock says
    // is left of the minute.
    const auto minuteTimer = WallClockTimer::create();
    if (!minuteTimer)
        GTEST_SKIP() << "no wall-clock timer on this platform";
    services.minuteTimer = minuteTimer.get();
    profile.put(QStringLiteral("THIS_YEAR"), QStringLiteral("THIS_YEAR"), 2026);
    const auto once = [&](int index, int minute) {
        ScheduleEntry &e = doc.schedules[static_cast<std::size_t>(index)];
        e.valid = 1;
        e.kind = 2;
        e.OnceActionYear = 2026;
        e.OnceActionMonth = 12;
        e.OnceActionDay = 7;
        e.htime = 10;
        e.mtime = minute;
        e.msg = QStringLiteral("予定%1").arg(index + 1);
    };
    clock.set(QDateTime(QDate(2026, 12, 7), QTime(10, 0, 58, 300)));
    QElapsedTimer since;
    std::map<int, qint64> soundAt;
    qint64 boxClosedAt = -1;
    recorder.duringSound = [&](int index) {
        soundAt[index] = since.elapsed();
        if (index != 2)
            return;
        // Entry 3's sound says it cannot play: a message box, open while
        // 10:02 begins.
        clock.set(QDateTime(QDate(2026, 12, 7), QTime(10, 2, 0, 100)));
        QEventLoop box;
        QTimer::singleShot(2000, &box, &QEventLoop::quit);
        box.exec();
        boxClosedAt = since.elapsed();
    };
    CTickwellView view(services);
    since.start();
    view.OnInitialUpdate();
    once(2, 1);
    once(5, 2);
    // The first tick a second after start finds 10:00; the next comes at
    // 10:01:00 by this clock, 1.7 s on, not a second later.
    QTimer::singleShot(1000, [&] { clock.set(QDateTime(QDate(2026, 12, 7), QTime(10, 1, 59, 500))); });
    while (soundAt.size() < 2 && since.elapsed() < 8000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);

    ASSERT_EQ(recorder.soundIndexes(), (std::vector<int>{2, 5}));
    // Each minute's notice was got ready once, the minute before.
    EXPECT_EQ(recorder.prepared, (std::vector<QString>{QStringLiteral("予定3"), QStringLiteral("予定6")}));
    EXPECT_GT(soundAt[2], 2200);
    EXPECT_LT(soundAt[2], 2900);
    // 10:02 began inside the box: it is acted on within a second of the box
    // closing, as when the timer ticked every second.
    EXPECT_GE(soundAt[5], boxClosedAt);
    EXPECT_LT(soundAt[5], boxClosedAt + 1200);
    EXPECT_TRUE(view.timerActive());
}

TEST_F(View, ExitSaveRunsOnceWithItsPause)
{
    profile.put(QStringLiteral("THIS_YEAR"), QStringLiteral("THIS_YEAR"), 2026);
    {
        CTickwellView view(services);
        view.OnInitialUpdate();
        doc.schedules[0].msg = QStringLiteral("保存される");
        view.RunExitSave();
        view.RunExitSave();
    }
    EXPECT_EQ(waits, std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(1000)});
    EXPECT_EQ(profile.GetProfileString(QStringLiteral("Schedule1"), QStringLiteral("msg"), {}),
        QStringLiteral("保存される"));
    EXPECT_TRUE(errors.str().empty());
}

TEST_F(View, ASaveInsideAFiringsMessageBoxStoresTheEntryAsItsTickLeavesIt)
{
    // The session ends while the sound's message box is open (on Windows the
    // exit save is made right there): a weekly and a monthly entry are
    // stored enabled, as their tick would leave them; a one-time entry
    // stays disabled.
    doc.THIS_YEAR = 2026;
    struct Row
    {
        ScheduleEntry::Kind kind;
        int storedValid;
    };
    for (const Row &row : {Row{ScheduleEntry::Weekly, 1}, Row{ScheduleEntry::Monthly, 1}, Row{ScheduleEntry::Once, 0}}) {
        SCOPED_TRACE(row.kind);
        CTickwellView view(services);
        ScheduleEntry &e = doc.schedules[5];
        e = ScheduleEntry{};
        e.valid = 1;
        e.kind = row.kind;
        e.htime = 10;
        e.mtime = 1;
        e.Mon = 1; // 2026-12-07 is a Monday
        e.dayOfMonth = 7;
        e.timingOfYear = 2026;
        e.timingOfMonth = 12;
        e.OnceActionYear = 2026;
        e.OnceActionMonth = 12;
        e.OnceActionDay = 7;
        int validDuringSound = -1;
        recorder.duringSound = [&](int) {
            validDuringSound = doc.schedules[5].valid;
            view.RunExitSave();
        };
        clock.set(QDateTime(QDate(2026, 12, 7), QTime(10, 1, 0, 5)));
        view.OnTimer();
        EXPECT_EQ(recorder.soundIndexes().back(), 5);
        EXPECT_EQ(validDuringSound, 0) << "the firing disables it while it runs";
        EXPECT_EQ(profile.GetProfileInt(QStringLiteral("Schedule6"), QStringLiteral("valid"), -1), row.storedValid);
        EXPECT_EQ(doc.schedules[5].valid, row.storedValid);
        recorder.duringSound = nullptr;
    }
}

} // namespace
