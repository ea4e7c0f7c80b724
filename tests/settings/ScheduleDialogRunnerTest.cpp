#include "ScheduleDialogRunner.h"
#include "SettingsDialogFixture.h"
#include "SettingsOpener.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// A first run: the load finds nothing stored, opens the dialog through the
// opener and the runner, and returns when OK has written the whole store.
// The monitor's timer keeps ticking inside the dialog's modal loop.
TEST_F(SettingsDialogTest, FirstRunOpensTheDialogAndOkWritesTheWholeStore)
{
    CTickwellDoc doc;
    ScheduleDialogRunner runner(m_schedules, m_clock, m_messages, m_wavChooser);
    SettingsOpener opener(doc, runner);
    int ticks = 0;
    QTimer monitor;
    QObject::connect(&monitor, &QTimer::timeout, [&] { ++ticks; });
    monitor.start(10);
    // Presses OK once the monitor has ticked inside the dialog; closes any
    // modal window still up after five seconds, so the test cannot hang.
    int flagWhileOpen = -1;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<CScheduleDlg *>(QApplication::activeModalWidget());
        if (dialog && ticks >= 3) {
            user.stop();
            flagWhileOpen = doc.bDialogOpen;
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("okButton")), Qt::LeftButton);
        } else if (ticks > 500 && QApplication::activeModalWidget()) {
            ADD_FAILURE() << "dialog left open";
            QApplication::activeModalWidget()->close();
        }
    });
    user.start(20);

    m_schedules.LoadSchedules(doc, m_clock.now(), opener);

    EXPECT_EQ(flagWhileOpen, 1);
    EXPECT_EQ(doc.bDialogOpen, 0);
    EXPECT_GE(ticks, 3);
    EXPECT_TRUE(m_messages.texts.empty());
    ASSERT_EQ(writes(), 1 + 10 * 29);
    EXPECT_EQ(m_store.writes().front().section, QStringLiteral("THIS_YEAR"));
    EXPECT_EQ(m_store.writes().front().value, QVariant(2026));
}

} // namespace
