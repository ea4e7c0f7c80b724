#include "QuitSignals.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

class QuitSignalsTest : public ::testing::TestWithParam<int>
{
};

TEST_P(QuitSignalsTest, SignalBecomesOneQuitRequestInTheEventLoop)
{
    struct sigaction before = {};
    ASSERT_EQ(::sigaction(GetParam(), nullptr, &before), 0);
    {
        QuitSignals bridge;
        ASSERT_TRUE(bridge.isActive());
        QSignalSpy spy(&bridge, &QuitSignals::quitRequested);
        // Twice in a row, as an impatient user or a session would send it.
        ASSERT_EQ(::raise(GetParam()), 0);
        ASSERT_EQ(::raise(GetParam()), 0);
        // Nothing happens inside the handler; the loop delivers it.
        EXPECT_EQ(spy.count(), 0);
        ASSERT_TRUE(spy.wait(2000));
        EXPECT_EQ(spy.count(), 1);
        EXPECT_EQ(spy.front().front().toInt(), GetParam());
        QTest::qWait(50);
        EXPECT_EQ(spy.count(), 1);
    }
    // Once the bridge is gone the signal has its earlier meaning again.
    struct sigaction after = {};
    ASSERT_EQ(::sigaction(GetParam(), nullptr, &after), 0);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

INSTANTIATE_TEST_SUITE_P(Signals, QuitSignalsTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
    [](const ::testing::TestParamInfo<int> &info) {
        return info.param == SIGTERM ? std::string("SIGTERM")
                                     : (info.param == SIGINT ? std::string("SIGINT") : std::string("SIGHUP"));
    });

} // namespace
