#include "ScheduleDialogRunner.h"
#include "CScheduleDlg.h"
#include "CTickwellDoc.h"
#include "JapaneseTranslations.h"
#include "ManualClock.h"
#include "MemoryProfileStore.h"
#include "ScheduleStore.h"
#include "SettingsDialogFixture.h"
#include "SettingsOpener.h"
#include "WavFileDialogChooser.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs act on the first modal window of type T once ready() holds, polling
// every 20 ms. Whatever modal window is still open after five seconds is
// closed, so that no test can hang on one.
template <typename T> void whenModalOpens(std::function<bool()> ready, std::function<void(T &)> act)
{
    QPointer<QTimer> poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        T *window = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!window || !ready())
            return;
        poll->deleteLater();
        // Out of the timer's slot, so that act may open a modal loop itself.
        QMetaObject::invokeMethod(
            window, [=] { act(*window); }, Qt::QueuedConnection);
    });
    poll->start(20);

    auto *watchdog = new QTimer(qApp);
    QObject::connect(watchdog, &QTimer::timeout, watchdog, [=] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "modal window left open: " << modal->metaObject()->className() << " "
                          << modal->windowTitle().toStdString();
            if (auto *box = qobject_cast<QMessageBox *>(modal))
                ADD_FAILURE() << box->text().toStdString();
            modal->close();
            return;
        }
        if (poll)
            poll->deleteLater();
        watchdog->deleteLater();
    });
    watchdog->start(5000);
}

TEST(ScheduleDialogRunner, FirstRunOpensTheDialogAndOkWritesTheWholeStore)
{
    ASSERT_TRUE(installJapaneseTranslations(*QCoreApplication::instance()));
    ManualClock clock;
    clock.set(2026, 4, 8, 12, 0);
    CTickwellDoc doc;
    MemoryProfileStore profile;
    ScheduleStore store(profile);
    RecordingMessages messages;
    AnsweringWavChooser wavChooser;
    ScheduleDialogRunner runner(store, clock, messages, wavChooser);
    SettingsOpener opener(doc, runner);

    // The monitor's one-second timer goes on inside the dialog's modal loop.
    int ticks = 0;
    QTimer monitor;
    QObject::connect(&monitor, &QTimer::timeout, [&] { ++ticks; });
    monitor.start(10);
    int flagWhileOpen = -1;
    whenModalOpens<CScheduleDlg>([&] { return ticks >= 3; },
        [&](CScheduleDlg &dialog) {
            flagWhileOpen = doc.bDialogOpen;
            auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("okButton"));
            QTest::mouseClick(ok, Qt::LeftButton);
        });

    store.LoadSchedules(doc, clock.now(), opener);

    EXPECT_EQ(flagWhileOpen, 1);
    EXPECT_EQ(doc.bDialogOpen, 0);
    EXPECT_GE(ticks, 3);
    EXPECT_TRUE(messages.texts.empty());
    ASSERT_EQ(profile.writes().size(), 1u + 10 * 29);
    EXPECT_EQ(profile.writes().front().section, QStringLiteral("THIS_YEAR"));
    EXPECT_EQ(profile.writes().front().value, QVariant(2026));
    EXPECT_EQ(profile.GetProfileString(QStringLiteral("Schedule10"), QStringLiteral("msg"), QString()),
        QStringLiteral("スケジュール10"));
}

TEST(WavFileDialogChooser, AsksInJapaneseForOneWavFile)
{
    ASSERT_TRUE(installJapaneseTranslations(*QCoreApplication::instance()));
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString chime = folder.filePath(QStringLiteral("chime.wav"));
    QFile file(chime);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    WavFileDialogChooser chooser;
    for (bool confirm : {false, true}) {
        SCOPED_TRACE(confirm ? "confirmed" : "cancelled");
        QString title;
        QStringList filters;
        QStringList buttons;
        whenModalOpens<QFileDialog>([] { return true; },
            [&](QFileDialog &dialog) {
                title = dialog.windowTitle();
                filters = dialog.nameFilters();
                for (QPushButton *button : dialog.findChildren<QPushButton *>())
                    buttons << button->text();
                if (confirm) {
                    // As typed into the file name box.
                    dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(chime);
                    static_cast<QDialog &>(dialog).accept();
                } else {
                    dialog.reject();
                }
            });
        const std::optional<QString> chosen = chooser.chooseWavFile();
        EXPECT_EQ(title, QStringLiteral("再生するファイルを選択して下さい。"));
        EXPECT_EQ(filters, QStringList{QStringLiteral("ｳｪﾌﾞ(*.wav)")});
        EXPECT_TRUE(buttons.contains(QStringLiteral("キャンセル"))) << buttons.join(u',').toStdString();
        if (confirm) {
            ASSERT_TRUE(chosen.has_value());
            EXPECT_EQ(QFileInfo(*chosen).canonicalFilePath(), QFileInfo(chime).canonicalFilePath());
        } else {
            EXPECT_FALSE(chosen.has_value());
        }
    }
}

} // namespace
