#include "SettingsDialogFixture.h"

#include "JapaneseTranslations.h"
#include "ProfileLayout.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

std::optional<QString> AnsweringWavChooser::chooseWavFile()
{
    ++asked;
    return answer.isEmpty() ? std::nullopt : std::optional(answer);
}

void SettingsDialogTest::SetUp()
{
    ASSERT_TRUE(installJapaneseTranslations(*QCoreApplication::instance()));
    m_clock.set(2026, 4, 8, 12, 0);
    for (int index = 0; index < ScheduleTable::kSize; ++index)
        m_doc.schedules[index] = defaultEntry(index + 1, m_clock.now());
    m_doc.THIS_YEAR = 2026;
    // Data-driven tests start each case afresh.
    m_messages.texts.clear();
    m_store.clearRecords();
    m_dialog = std::make_unique<CScheduleDlg>(m_doc, m_schedules, m_clock, m_messages, m_wavChooser);
}

void SettingsDialogTest::open()
{
    m_dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void SettingsDialogTest::enableFirst()
{
    m_doc.schedules[0].valid = 1;
    m_doc.schedules[0].WED = 1;
}

void SettingsDialogTest::click(const char *buttonName)
{
    auto *button = control<QAbstractButton>(buttonName);
    ASSERT_TRUE(button->isVisible() && button->isEnabled()) << buttonName;
    // The left end holds a check box's box and a push button's face alike.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->height() / 2, button->height() / 2));
}

bool SettingsDialogTest::checked(const char *buttonName) const
{
    return control<QAbstractButton>(buttonName)->isChecked();
}

void SettingsDialogTest::clickTab(int index)
{
    QTabBar *bar = control<QTabWidget>("tabs")->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void SettingsDialogTest::type(const char *editName, const QString &text)
{
    QLineEdit *target = edit(editName);
    ASSERT_TRUE(target->isVisible() && target->isEnabled()) << editName;
    target->setFocus();
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Backspace);
    // Japanese arrives from the input method as committed text.
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(target, ch.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(ch));
            QApplication::sendEvent(target, &commit);
        }
    }
    ASSERT_EQ(target->text(), text);
}

void SettingsDialogTest::chooseRule(int position)
{
    auto *combo = control<QComboBox>("kindCombo");
    for (int step = 0; step < 4 && combo->currentIndex() != position; ++step)
        QTest::keyClick(combo, combo->currentIndex() < position ? Qt::Key_Down : Qt::Key_Up);
    ASSERT_EQ(combo->currentIndex(), position);
}

int SettingsDialogTest::storedInt(int number, const char *key)
{
    return m_store.GetProfileInt(QStringLiteral("Schedule%1").arg(number), QString::fromLatin1(key), -999);
}
