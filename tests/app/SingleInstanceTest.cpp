#include "SingleInstance.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class SingleInstanceTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
};

TEST_F(SingleInstanceTest, LaterCopyFindsTheLockAndItsRequestArrives)
{
    SingleInstance running(dir.path());
    ASSERT_EQ(running.acquire(), SingleInstance::Outcome::First) << running.errorString().toStdString();
    EXPECT_EQ(running.lockFilePath(), path("Tockwell.lock"));
    EXPECT_EQ(running.serverPath(), path("Tockwell"));
    QSignalSpy spy(&running, &SingleInstance::activationRequested);

    SingleInstance later(dir.path());
    EXPECT_EQ(later.acquire(), SingleInstance::Outcome::Running);
    // Both copies share this one thread here: the request waits out its
    // patience for a reply the running copy cannot give before the loop runs
    // again, and is delivered all the same.
    bool delivered = false;
    QTimer::singleShot(0, [&] { delivered = later.askRunningCopy(1000ms); });
    ASSERT_TRUE(spy.wait(3000));
    EXPECT_TRUE(delivered);
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(SingleInstanceTest, NoRunningCopyMeansTheRequestGivesUpInTime)
{
    SingleInstance later(dir.path());
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(later.askRunningCopy(300ms));
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST_F(SingleInstanceTest, OnlyTheExactRequestCounts)
{
    SingleInstance running(dir.path());
    ASSERT_EQ(running.acquire(), SingleInstance::Outcome::First);
    QSignalSpy spy(&running, &SingleInstance::activationRequested);
    for (const QByteArray &message :
        {QByteArray("activate"), QByteArray("activat\n"), QByteArray("quit\n"), QByteArray(1000, 'a')}) {
        QLocalSocket client;
        client.connectToServer(running.serverPath());
        ASSERT_TRUE(client.waitForConnected(1000));
        client.write(message);
        client.waitForBytesWritten(1000);
        QTest::qWait(100);
        client.abort();
    }
    QTest::qWait(100);
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(SingleInstanceTest, UnusableFolderIsAFailureNotAnotherCopy)
{
    SingleInstance nowhere(path("missing/deeper"));
    EXPECT_EQ(nowhere.acquire(), SingleInstance::Outcome::Failed);
    EXPECT_FALSE(nowhere.errorString().isEmpty());
}

} // namespace
