#include "SingleInstance.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QLocalSocket>
#endif

using namespace std::chrono_literals;

namespace {

class SingleInstanceTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    // Where a copy of this test keeps its lock: a folder of its own, or on
    // Windows a mutex and property name of its own.
    QString where() const
    {
#ifdef Q_OS_WIN
        static int names = 0;
        return QStringLiteral("TockwellTest-%1-%2").arg(::GetCurrentProcessId()).arg(++names);
#else
        return dir.path();
#endif
    }

    QTemporaryDir dir;
};

TEST_F(SingleInstanceTest, TheLockIsHeldWhileTheFirstCopyRunsAndFreeAfterIt)
{
    const QString place = where();
    {
        SingleInstance running(place);
        ASSERT_EQ(running.acquire(), SingleInstance::Outcome::First) << running.errorString().toStdString();
        SingleInstance later(place);
        EXPECT_EQ(later.acquire(), SingleInstance::Outcome::Running);
        SingleInstance another(place);
        EXPECT_EQ(another.acquire(), SingleInstance::Outcome::Running);
    }
    SingleInstance next(place);
    EXPECT_EQ(next.acquire(), SingleInstance::Outcome::First);
}

TEST_F(SingleInstanceTest, TheProgramsOwnNames)
{
    SingleInstance program;
#ifdef Q_OS_WIN
    // The mutex and the window property.
    EXPECT_EQ(program.lockFilePath(), QStringLiteral("Tockwell"));
    EXPECT_EQ(program.serverPath(), QStringLiteral("Tockwell"));
#else
    EXPECT_TRUE(program.lockFilePath().endsWith(QStringLiteral("/Tockwell.lock")));
    EXPECT_TRUE(program.serverPath().endsWith(QStringLiteral("/Tockwell")));
#endif
}

TEST_F(SingleInstanceTest, NoRunningCopyMeansTheRequestGivesUpInTime)
{
    SingleInstance later(where());
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(later.askRunningCopy(300ms));
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_LT(clock.elapsed(), 2000);
}

#ifdef Q_OS_WIN

// A top-level window of the running copy, hidden unless asked, and gone with
// the test.
struct Window
{
    explicit Window(HWND owner = nullptr, DWORD style = WS_POPUP)
        : handle(::CreateWindowExW(0, L"STATIC", L"Tickwell", style, 10, 10, 100, 100, owner, nullptr,
              ::GetModuleHandleW(nullptr), nullptr))
    {
    }
    ~Window() { ::DestroyWindow(handle); }
    WId id() const { return reinterpret_cast<WId>(handle); }
    HWND handle;
};

TEST_F(SingleInstanceTest, LaterCopyBringsTheMarkedWindowsLastPopupForward)
{
    const QString place = where();
    SingleInstance running(place);
    ASSERT_EQ(running.acquire(), SingleInstance::Outcome::First);
    Window frame;
    ASSERT_NE(frame.handle, nullptr);
    running.markMainWindow(frame.id());
    // The settings dialog, owned by the hidden frame, covered by another
    // window that has the focus.
    Window dialog(frame.handle, WS_POPUP | WS_VISIBLE);
    Window other(nullptr, WS_POPUP | WS_VISIBLE);
    ::SetActiveWindow(dialog.handle);
    ::SetForegroundWindow(other.handle);
    ASSERT_EQ(::GetForegroundWindow(), other.handle);

    SingleInstance later(place);
    EXPECT_EQ(later.acquire(), SingleInstance::Outcome::Running);
    EXPECT_TRUE(later.askRunningCopy(300ms));
    EXPECT_EQ(::GetForegroundWindow(), dialog.handle);
    EXPECT_FALSE(::IsWindowVisible(frame.handle)) << "the frame itself stays hidden";
}

TEST_F(SingleInstanceTest, LaterCopyRestoresAMinimisedWindow)
{
    const QString place = where();
    SingleInstance running(place);
    ASSERT_EQ(running.acquire(), SingleInstance::Outcome::First);
    Window frame(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    running.markMainWindow(frame.id());
    ::ShowWindow(frame.handle, SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(frame.handle));

    SingleInstance later(place);
    EXPECT_TRUE(later.askRunningCopy(300ms));
    EXPECT_FALSE(::IsIconic(frame.handle));

    // A dialog of the hidden frame minimised on its own comes back too.
    Window hidden;
    running.markMainWindow(hidden.id());
    ::RemovePropW(frame.handle, reinterpret_cast<LPCWSTR>(place.utf16()));
    Window dialog(hidden.handle, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ::SetActiveWindow(dialog.handle);
    ::ShowWindow(dialog.handle, SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(dialog.handle));
    EXPECT_TRUE(later.askRunningCopy(300ms));
    EXPECT_FALSE(::IsIconic(dialog.handle));
    EXPECT_EQ(::GetForegroundWindow(), dialog.handle);
}

TEST_F(SingleInstanceTest, TheMarkGoesWithTheRunningCopy)
{
    const QString place = where();
    Window frame;
    {
        SingleInstance running(place);
        ASSERT_EQ(running.acquire(), SingleInstance::Outcome::First);
        running.markMainWindow(frame.id());
        EXPECT_NE(::GetPropW(frame.handle, reinterpret_cast<LPCWSTR>(place.utf16())), nullptr);
    }
    EXPECT_EQ(::GetPropW(frame.handle, reinterpret_cast<LPCWSTR>(place.utf16())), nullptr);
    SingleInstance later(place);
    EXPECT_FALSE(later.askRunningCopy(100ms));
}

#else

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

#endif

} // namespace
