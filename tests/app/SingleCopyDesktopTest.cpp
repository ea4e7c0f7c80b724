// One copy per user: a second start brings the running copy forward and
// ends; copies started together leave one; a crashed copy is no obstacle.
#include "AppDesktopFixture.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>
#include <QWidget>

namespace {

using namespace DesktopProbe;

const QString kSettingsCaption = QStringLiteral("スケジュール設定画面");

class SingleCopy : public AppDesktopTest
{
protected:
    void SetUp() override
    {
        AppDesktopTest::SetUp();
        writeYearOnly(currentYear());
    }
};

TEST_F(SingleCopy, SecondCopyEndsAtOnceAndBringsTheSettingsDialogForward)
{
    startRunning();
    ASSERT_TRUE(icon);
    moveMouse(icon->geometry.center());
    click(1, 2);
    const auto dialog = waitForWindow(kSettingsCaption);
    ASSERT_TRUE(dialog);

    // The user goes on in another program's window, over the dialog.
    QWidget other;
    other.setWindowTitle(QStringLiteral("other"));
    other.setGeometry(100, 100, 1000, 600);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_NE(activeWindow(), dialog->id);
    const QDateTime stored = QFileInfo(home.storePath()).lastModified();

    TickwellProcess &second = startCopy();
    QElapsedTimer clock;
    clock.start();
    size_t mostIcons = 0;
    while (second.running() && clock.elapsed() < 5000) {
        mostIcons = std::max(mostIcons, trayIcons().size());
        QTest::qWait(20);
    }
    ASSERT_FALSE(second.running());
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_LE(mostIcons, 1u) << "the second copy showed an icon";
    EXPECT_EQ(second.errorOutput(), QString());

    EXPECT_TRUE(waitUntil([&] { return activeWindow() == dialog->id; }, 3000));
    EXPECT_TRUE(stackedAbove(dialog->id, other.winId()));
    EXPECT_EQ(windowsNamed(kSettingsCaption).size(), 1u);
    EXPECT_EQ(trayIcons().size(), 1u);
    EXPECT_EQ(QFileInfo(home.storePath()).lastModified(), stored) << "the second copy wrote the store";
    EXPECT_TRUE(copies.front()->running());
}

TEST_F(SingleCopy, TwoCopiesStartedTogetherLeaveOne)
{
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        TickwellProcess &a = startCopy();
        TickwellProcess &b = startCopy();
        ASSERT_TRUE(waitUntil([&] { return !a.running() || !b.running(); }, 5000));
        QTest::qWait(500);
        ASSERT_NE(a.running(), b.running());
        TickwellProcess &ended = a.running() ? b : a;
        TickwellProcess &runs = a.running() ? a : b;
        EXPECT_EQ(ended.exitCode(), 0);
        EXPECT_TRUE(waitForTrayIcon());
        EXPECT_EQ(trayIcons().size(), 1u);
        runs.signal(SIGTERM);
        ASSERT_TRUE(runs.waitForExit(5000));
        ASSERT_TRUE(waitUntil([] { return trayIcons().empty(); }, 3000));
    }
}

TEST_F(SingleCopy, CopyThatCrashedLeavesNothingInTheWay)
{
    TickwellProcess &crashed = startRunning();
    crashed.signal(SIGKILL);
    ASSERT_TRUE(crashed.waitForExit(5000));
    ASSERT_TRUE(waitUntil([] { return trayIcons().empty(); }, 3000));
    // Its lock file and socket are still there.
    EXPECT_TRUE(QFileInfo::exists(QDir(home.runtime.path()).filePath(QStringLiteral("Tockwell.lock"))));
    EXPECT_TRUE(QFileInfo::exists(QDir(home.runtime.path()).filePath(QStringLiteral("Tockwell"))));

    TickwellProcess &next = startRunning();
    ASSERT_TRUE(icon);
    // And it is reachable: a later copy finds it and ends at once.
    TickwellProcess &later = startCopy();
    EXPECT_TRUE(later.waitForExit(3000));
    EXPECT_EQ(later.exitCode(), 0);
    EXPECT_TRUE(next.running());
    EXPECT_EQ(trayIcons().size(), 1u);
}

} // namespace
