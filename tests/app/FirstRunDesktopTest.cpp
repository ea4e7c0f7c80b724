// A first run, with nothing stored: the settings dialog comes up during
// start-up, and its OK writes the whole store; so does the exit save when
// the program is ended while that dialog is open.
#include "AppDesktopFixture.h"

#include <QFileInfo>
#include <QTest>

namespace {

using namespace DesktopProbe;

TEST_F(AppDesktopTest, FirstRunOpensTheSettingsAndOkWritesTheWholeStore)
{
    TickwellProcess &copy = startCopy();
    const auto dialog = waitForWindow(QStringLiteral("スケジュール設定画面"));
    ASSERT_TRUE(dialog) << copy.errorOutput().toStdString();
    EXPECT_EQ(trayIcons().size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(home.storePath()));
    QTest::qWait(300);
    keep(screenshot().copy(dialog->geometry.adjusted(-4, -24, 4, 4)), QStringLiteral("settings-dialog.png"));

    moveMouse(dialogPoint(*dialog, QSize(249, 285), QRect(93, 267, 50, 14)));
    click(1);
    ASSERT_TRUE(waitUntil([] { return windowsNamed(QStringLiteral("スケジュール設定画面")).empty(); }, 5000));

    const auto store = readStore();
    EXPECT_EQ(store->value(QStringLiteral("THIS_YEAR/THIS_YEAR")).toInt(), currentYear());
    EXPECT_EQ(scheduleSectionsAndKeys(), std::make_pair(10, 290));
    EXPECT_EQ(store->value(QStringLiteral("Schedule3/msg")).toString(), QStringLiteral("スケジュール3"));
    EXPECT_TRUE(copy.running());
    EXPECT_EQ(trayIcons().size(), 1u);
}

TEST_F(AppDesktopTest, EndedDuringTheFirstRunDialogItStillSavesEverything)
{
    TickwellProcess &copy = startCopy();
    ASSERT_TRUE(waitForWindow(QStringLiteral("スケジュール設定画面")));
    // Start-up has not finished: the dialog's loop is the only one running.
    copy.signal(SIGTERM);
    ASSERT_TRUE(copy.waitForExit(5000));
    EXPECT_TRUE(copy.exitedNormally());
    EXPECT_EQ(copy.exitCode(), 0);
    EXPECT_EQ(readStore()->value(QStringLiteral("THIS_YEAR/THIS_YEAR")).toInt(), currentYear());
    EXPECT_EQ(scheduleSectionsAndKeys(), std::make_pair(10, 290));
}

} // namespace
