// The whole road of a firing in the real program: a one-time schedule due in
// the next minute beeps, shows its notice above the window in use, takes the
// first click on its OK while the settings dialog opened by a double-click on
// the icon is open, and is stored disabled when the program is closed.
#include "AppDesktopFixture.h"
#include "MonitorRecording.h"
#include "ToneAnalysis.h"

#include <QDateTime>
#include <QTest>
#include <QWidget>

namespace {

using namespace DesktopProbe;

// The notice windows: titled "Tickwell" like the icon, but in no tray.
std::vector<Window> noticeWindows()
{
    std::vector<Window> notices;
    const auto icons = trayIcons();
    for (const Window &window : windowsNamed(QStringLiteral("Tickwell"))) {
        const bool isIcon = std::any_of(
            icons.begin(), icons.end(), [&](const Window &icon) { return icon.id == window.id; });
        if (!isIcon && window.geometry.width() > 64)
            notices.push_back(window);
    }
    return notices;
}

TEST_F(AppDesktopTest, OneTimeScheduleFiresWithBeepAndNoticeAndIsStoredDisabled)
{
    QProcess silence;
    ASSERT_EQ(MonitorRecording::keepSinkRunning(silence), QString());

    // The next minute that leaves the program time to start, and the
    // settings dialog open longer than a StatusNotifierItem host waits for
    // the call that opened it (25 s); no clock is faked, so this waits for
    // the real minute.
    const QDateTime now = QDateTime::currentDateTime();
    QDateTime due = now.addSecs(60 - now.time().second());
    due.setTime(QTime(due.time().hour(), due.time().minute()));
    if (now.secsTo(due) < 35)
        due = due.addSecs(60);

    CTickwellDoc doc;
    doc.THIS_YEAR = currentYear();
    ScheduleEntry &entry = doc.schedules[0];
    entry.valid = 1;
    entry.kind = ScheduleEntry::Once;
    entry.htime = due.time().hour();
    entry.mtime = due.time().minute();
    entry.OnceActionYear = due.date().year();
    entry.OnceActionMonth = due.date().month();
    entry.OnceActionDay = due.date().day();
    entry.msg = QStringLiteral("会議の時間です");
    entry.sound = ScheduleEntry::Beep;
    writeStore(doc);

    TickwellProcess &copy = startRunning();
    ASSERT_TRUE(icon);
    // The settings dialog, opened by a double-click, is modal to the hidden
    // frame only: with it open the notice still takes a click, the first
    // one, and the tray menu still answers.
    moveMouse(icon->geometry.center());
    click(1, 2);
    const auto settings = waitForWindow(QStringLiteral("スケジュール設定画面"));
    ASSERT_TRUE(settings);

    // The user works in another window, which has the focus.
    QWidget other;
    other.setWindowTitle(QStringLiteral("other"));
    other.setGeometry(50, 50, 1180, 700);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));

    MonitorRecording recording;
    ASSERT_EQ(recording.start(), QString());
    ASSERT_TRUE(waitUntil([&] { return QDateTime::currentDateTime() >= due; }, 100000));
    ASSERT_TRUE(waitUntil([] { return noticeWindows().size() == 1; }, 5000)) << "no notice window";
    const std::vector<float> samples = recording.stop();
    const Window notice = noticeWindows().front();

    const ToneAnalysis analysis(samples, MonitorRecording::kRate);
    const auto beeps = analysis.spans(100.0);
    ASSERT_EQ(beeps.size(), 1u);
    EXPECT_NEAR(beeps[0].lengthMs(), 500.0, 60.0);

    EXPECT_TRUE(stackedAbove(notice.id, other.winId())) << "notice below the window in use";
    EXPECT_TRUE(properties(notice.id).contains(QStringLiteral("_NET_WM_STATE_ABOVE")));
    QTest::qWait(600);
    keep(screenshot().copy(notice.geometry.adjusted(-4, -24, 4, 4)), QStringLiteral("notice-window.png"));

    // The firing is in memory only, until the program ends.
    EXPECT_EQ(readStore()->value(QStringLiteral("Schedule1/valid")).toInt(), 1);
    other.hide();
    ASSERT_EQ(noticeWindows().size(), 1u);
    EXPECT_TRUE(popupMenus().empty()) << "a menu is open over the notice";
    const QSize noticeTemplate(214, 74);
    moveMouse(dialogPoint(notice, noticeTemplate, QRect(71, 54, 71, 14)));
    click(1);
    EXPECT_TRUE(waitUntil([] { return noticeWindows().empty(); }, 3000))
        << "the first click on OK did not dismiss the notice";
    EXPECT_EQ(windowsNamed(QStringLiteral("スケジュール設定画面")).size(), 1u);
    ASSERT_TRUE(openTrayMenu(*icon, 3)) << "no tray menu while the settings dialog is open";
    chooseMenuEntry(3);
    ASSERT_TRUE(copy.waitForExit(5000));
    const auto store = readStore();
    EXPECT_EQ(store->value(QStringLiteral("Schedule1/valid")).toInt(), 0);
    EXPECT_EQ(store->value(QStringLiteral("Schedule1/msg")).toString(), entry.msg);
    EXPECT_EQ(store->value(QStringLiteral("Schedule1/kind")).toInt(), ScheduleEntry::Once);

    silence.kill();
    silence.waitForFinished(5000);
}

} // namespace
