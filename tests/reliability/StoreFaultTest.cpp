// The real program with its store folder on a small file system of its own
// (a tmpfs, mounted by this test as root) that fills up or turns read-only
// while it runs: Apply, OK and the exit save must say that the save failed,
// keep the old store, crash nothing, and save once the room is back.
#include "AppDesktopFixture.h"
#include "CTickwellDoc.h"
#include "Figures.h"
#include "ProgramWindows.h"
#include "ScheduleStore.h"
#include "SettingsProfileStore.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using namespace DesktopProbe;

const QSize kDialogSize(249, 285);
const QRect kOkButton(93, 267, 50, 14);
const QRect kApplyButton(195, 267, 50, 14);
const QString kDialogCaption = QStringLiteral("スケジュール設定画面");
const QString kSaveFailed = QStringLiteral("設定を保存できませんでした。");

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

enum class Fault { DiskFull, ReadOnly };

class StoreFault : public AppDesktopTest
{
protected:
    void SetUp() override
    {
        AppDesktopTest::SetUp();
        if (::geteuid() != 0)
            GTEST_SKIP() << "mounting a small file system needs root";
        // The store's folder on a tmpfs of its own, mounted over the user's
        // config folder.
        if (!run(QStringLiteral("mount"),
                {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                    QStringLiteral("size=96k,mode=0700"), QStringLiteral("tickwell-test"),
                    home.config.path()}))
            GTEST_SKIP() << "cannot mount a tmpfs here";
        m_mounted = true;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(home.storePath()).path()));
        m_doc.THIS_YEAR = currentYear() - 1;
        for (int i = 0; i < ScheduleTable::kSize; ++i)
            m_doc.schedules[i].msg = QStringLiteral("予定%1 ").arg(i + 1).repeated(60);
        writeStore(m_doc);
        QFile file(home.storePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        m_oldBytes = file.readAll();
    }

    void TearDown() override
    {
        AppDesktopTest::TearDown();
        if (m_mounted) {
            setFault(Fault::DiskFull, false);
            setFault(Fault::ReadOnly, false);
            run(QStringLiteral("umount"), {home.config.path()});
        }
    }

    void setFault(Fault fault, bool on)
    {
        const QString filler = QDir(home.config.path()).filePath(QStringLiteral("filler"));
        if (fault == Fault::ReadOnly) {
            run(QStringLiteral("mount"),
                {QStringLiteral("-o"), on ? QStringLiteral("remount,ro") : QStringLiteral("remount,rw"),
                    home.config.path()});
            return;
        }
        if (!on) {
            QFile::remove(filler);
            return;
        }
        QFile file(filler);
        if (!file.open(QIODevice::WriteOnly))
            return;
        const QByteArray block(1024, 'x');
        while (file.write(block) == block.size() && file.flush()) {
        }
    }

    bool storeUnchanged() const
    {
        QFile file(home.storePath());
        return file.open(QIODevice::ReadOnly) && file.readAll() == m_oldBytes;
    }

    int storedYear() const { return readStore()->value(QStringLiteral("THIS_YEAR/THIS_YEAR")).toInt(); }

    std::optional<Window> openDialog()
    {
        moveMouse(icon->geometry.center());
        click(1, 2);
        return waitForWindow(kDialogCaption);
    }

    void press(const Window &dialog, const QRect &button)
    {
        moveMouse(dialogPoint(dialog, kDialogSize, button));
        QTest::qWait(100);
        click(1);
    }

    // Waits for a message box, closes it with Enter; whether one came.
    bool messageBoxCame()
    {
        if (!waitUntil([] { return !tickwellWindows().empty(); }, 4000))
            return false;
        QTest::qWait(200);
        keys({QStringLiteral("Return")});
        return waitUntil([] { return tickwellWindows().empty(); }, 3000);
    }

    bool m_mounted = false;
    CTickwellDoc m_doc;
    QByteArray m_oldBytes;
};

TEST_F(StoreFault, ApplyOkAndExitSayTheSaveFailedAndSaveOnceThereIsRoom)
{
    int boxesShown = 0, exitMessages = 0, unchanged = 0, savedAfter = 0, alive = 0, failedSaves = 0;
    const auto restoreOldStore = [&] {
        QFile file(home.storePath());
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            && file.write(m_oldBytes) == m_oldBytes.size();
    };
    const auto startAfterFirstTick = [&]() -> TickwellProcess & {
        TickwellProcess &copy = startRunning();
        QTest::qWait(1400); // the first tick moves the table into this year
        return copy;
    };
    const auto endCopy = [&](TickwellProcess &copy) {
        copy.signal(SIGTERM);
        EXPECT_TRUE(copy.waitForExit(8000));
        alive += copy.exitedNormally() && copy.exitCode() == 0 ? 1 : 0;
        const QString errors = copy.errorOutput();
        copies.clear();
        EXPECT_TRUE(waitUntil([] { return trayIcons().empty(); }, 3000));
        return errors;
    };
    // make test tries the full disk; make reliability both.
    std::vector<Fault> faults{Fault::DiskFull};
    if (trialCount(0, 1) == 1)
        faults.push_back(Fault::ReadOnly);
    for (Fault fault : faults) {
        SCOPED_TRACE(fault == Fault::DiskFull ? "disk full" : "read-only");

        // Apply with no room: a message box, the old store, the program goes
        // on; with room again the next Apply saves.
        ASSERT_TRUE(restoreOldStore());
        {
            TickwellProcess &copy = startAfterFirstTick();
            const auto dialog = openDialog();
            ASSERT_TRUE(dialog);
            setFault(fault, true);
            press(*dialog, kApplyButton);
            ++failedSaves;
            const bool box = messageBoxCame();
            EXPECT_TRUE(box) << "no message box after Apply";
            boxesShown += box ? 1 : 0;
            unchanged += storeUnchanged() ? 1 : 0;
            alive += copy.running() ? 1 : 0;
            setFault(fault, false);
            press(*dialog, kApplyButton);
            QTest::qWait(700);
            EXPECT_TRUE(tickwellWindows().empty()) << "a message box after a save that worked";
            savedAfter += storedYear() == currentYear() ? 1 : 0;
            EXPECT_EQ(endCopy(copy), QString());
        }

        // OK with no room: a message box, and the dialog closes. The exit
        // save, still without room: the text on standard error, a normal end.
        ASSERT_TRUE(restoreOldStore());
        {
            TickwellProcess &copy = startAfterFirstTick();
            const auto dialog = openDialog();
            ASSERT_TRUE(dialog);
            setFault(fault, true);
            press(*dialog, kOkButton);
            ++failedSaves;
            const bool box = messageBoxCame();
            EXPECT_TRUE(box) << "no message box after OK";
            boxesShown += box ? 1 : 0;
            EXPECT_TRUE(waitUntil([] { return windowsNamed(kDialogCaption).empty(); }, 3000));
            unchanged += storeUnchanged() ? 1 : 0;
            alive += copy.running() ? 1 : 0;
            ++failedSaves;
            const QString errors = endCopy(copy);
            const bool told = errors.contains(kSaveFailed) && errors.contains(home.storePath());
            EXPECT_TRUE(told) << errors.toStdString();
            exitMessages += told ? 1 : 0;
            unchanged += storeUnchanged() ? 1 : 0;
        }

        // Room again: the next run's exit save works.
        setFault(fault, false);
        {
            TickwellProcess &copy = startAfterFirstTick();
            EXPECT_EQ(endCopy(copy), QString());
            savedAfter += storedYear() == currentYear() ? 1 : 0;
        }
    }
    const int n = static_cast<int>(faults.size());
    EXPECT_EQ(boxesShown, 2 * n);
    EXPECT_EQ(exitMessages, n);
    EXPECT_EQ(unchanged, failedSaves);
    EXPECT_EQ(savedAfter, 2 * n);
    EXPECT_EQ(alive, 5 * n);
    recordFigure(QStringLiteral("store folder full or read-only (real program, tmpfs as root)"),
        QStringLiteral("%1 saves into a 96 KB tmpfs made %2 (Apply, OK, exit save), each followed by a save "
                       "with room again")
            .arg(failedSaves)
            .arg(n == 2 ? QStringLiteral("full, and then read-only") : QStringLiteral("full")),
        QStringLiteral(
            "%1: %2 of %3 Apply and OK showed a message box, %4 of %5 exit saves wrote \"%6\" and the "
            "store's path to standard error, %7 of %8 failed saves left the store as it was, %9 of %3 "
            "saves with room again worked")
            .arg(boxesShown == 2 * n && exitMessages == n && unchanged == failedSaves && savedAfter == 2 * n
                        && alive == 5 * n
                    ? QStringLiteral("nothing")
                    : QStringLiteral("LOST"))
            .arg(boxesShown)
            .arg(2 * n)
            .arg(exitMessages)
            .arg(n)
            .arg(kSaveFailed)
            .arg(unchanged)
            .arg(failedSaves)
            .arg(savedAfter));
}

} // namespace
