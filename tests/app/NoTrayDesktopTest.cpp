// A desktop without a notification area (run in a rig without a tray host):
// the program keeps running, and a second start opens its settings.
#include "AppDesktopFixture.h"

#include <QTest>
#include <QWidget>

namespace {

using namespace DesktopProbe;

const QString kSettingsCaption = QStringLiteral("スケジュール設定画面");

TEST_F(AppDesktopTest, SecondStartOpensTheSettingsOfTheRunningCopy)
{
    ASSERT_TRUE(run(QStringLiteral("xdotool"),
        {QStringLiteral("search"), QStringLiteral("--class"), QStringLiteral("trayer")})
                    .trimmed()
                    .isEmpty())
        << "this test wants a rig without a tray host";
    writeYearOnly(currentYear());
    TickwellProcess &running = startCopy();
    QTest::qWait(1500);
    ASSERT_TRUE(running.running()) << running.errorOutput().toStdString();
    EXPECT_TRUE(programWindows().empty());

    TickwellProcess &second = startCopy();
    ASSERT_TRUE(second.waitForExit(3000));
    EXPECT_EQ(second.exitCode(), 0);
    auto dialog = waitForWindow(kSettingsCaption);
    ASSERT_TRUE(dialog);

    // Once it is open, a further start brings it forward and opens no other.
    QWidget other;
    other.setGeometry(100, 100, 1000, 600);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    TickwellProcess &third = startCopy();
    ASSERT_TRUE(third.waitForExit(3000));
    EXPECT_TRUE(waitUntil([&] { return activeWindow() == dialog->id; }, 3000));
    QTest::qWait(500);
    EXPECT_EQ(windowsNamed(kSettingsCaption).size(), 1u);
    EXPECT_TRUE(running.running());
}

} // namespace
