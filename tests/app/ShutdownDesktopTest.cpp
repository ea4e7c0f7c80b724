// Every way to end the program saves the store once, after the tray icon has
// gone: "閉じる", and the signals of a logout, `kill`, Ctrl+C and a closed
// terminal.
#include "AppDesktopFixture.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

#include <csignal>

namespace {

using namespace DesktopProbe;

constexpr int kSections = 10;
constexpr int kKeys = 290;

class Shutdown : public AppDesktopTest
{
protected:
    void SetUp() override
    {
        AppDesktopTest::SetUp();
        // Any schedule section found afterwards was written by the exit save.
        writeYearOnly(currentYear());
    }

    bool saved() const { return scheduleSectionsAndKeys() == std::make_pair(kSections, kKeys); }
};

TEST_F(Shutdown, CloseTakesTheIconAwayThenSavesThenEnds)
{
    TickwellProcess &copy = startRunning();
    ASSERT_TRUE(icon);
    ASSERT_TRUE(openTrayMenu(*icon, 3));
    chooseMenuEntry(3);

    QElapsedTimer clock;
    clock.start();
    qint64 iconGone = -1;
    qint64 storeWritten = -1;
    while (copy.running() && clock.elapsed() < 8000) {
        if (iconGone < 0 && trayIcons().empty())
            iconGone = clock.elapsed();
        if (storeWritten < 0 && saved())
            storeWritten = clock.elapsed();
        QTest::qWait(20);
    }
    ASSERT_TRUE(copy.waitForExit(100));
    EXPECT_TRUE(copy.exitedNormally());
    EXPECT_EQ(copy.exitCode(), 0);
    EXPECT_TRUE(saved());
    ASSERT_GE(iconGone, 0) << "the icon stayed until the end";
    // The save waits a second after its snapshot; the icon is gone by then.
    EXPECT_GE(storeWritten < 0 ? clock.elapsed() : storeWritten, iconGone + 700);
    EXPECT_EQ(readStore()->value(QStringLiteral("THIS_YEAR/THIS_YEAR")).toInt(), currentYear());
    EXPECT_EQ(copy.errorOutput(), QString());
}

class ShutdownBySignal : public Shutdown, public ::testing::WithParamInterface<int>
{
};

TEST_P(ShutdownBySignal, SavesTheStoreAndEndsNormally)
{
    TickwellProcess &copy = startRunning();
    ASSERT_TRUE(icon);
    copy.signal(GetParam());
    ASSERT_TRUE(copy.waitForExit(5000));
    EXPECT_TRUE(copy.exitedNormally()) << "killed by the signal";
    EXPECT_EQ(copy.exitCode(), 0);
    EXPECT_TRUE(saved()) << scheduleSectionsAndKeys().first << " sections";
    EXPECT_TRUE(trayIcons().empty());
}

INSTANTIATE_TEST_SUITE_P(Signals, ShutdownBySignal, ::testing::Values(SIGTERM, SIGHUP, SIGINT),
    [](const ::testing::TestParamInfo<int> &info) {
        switch (info.param) {
        case SIGTERM:
            return std::string("SIGTERM");
        case SIGHUP:
            return std::string("SIGHUP");
        default:
            return std::string("SIGINT");
        }
    });

} // namespace
