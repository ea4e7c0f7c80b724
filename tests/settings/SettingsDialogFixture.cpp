#include "SettingsDialogFixture.h"

#include "JapaneseTranslations.h"
#include "ProfileLayout.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QTabBar>
#include <QTest>

void RecordingMessages::ShowMessage(const QString &text, Icon icon)
{
    texts.push_back(text);
    icons.push_back(icon);
    if (onShow)
        onShow();
}

std::optional<QString> AnsweringWavChooser::chooseWavFile()
{
    ++asked;
    if (answer.isEmpty())
        return std::nullopt;
    return answer;
}

void SettingsDialogTest::SetUpTestSuite()
{
    ASSERT_TRUE(installJapaneseTranslations(*QCoreApplication::instance()));
}

void SettingsDialogTest::SetUp()
{
    m_clock.set(2026, 4, 8, 12, 0);
    const LocalTime today = m_clock.now();
    for (int index = 0; index < ScheduleTable::kSize; ++index)
        m_doc.schedules[index] = defaultEntry(index + 1, today);
    m_doc.THIS_YEAR = 2026;
    // Tests that run several cases start each one afresh.
    m_messages.texts.clear();
    m_messages.icons.clear();
    m_store.clearRecords();
    m_dialog = std::make_unique<CScheduleDlg>(m_doc, m_schedules, m_clock, m_messages, m_wavChooser);
}

void SettingsDialogTest::TearDown()
{
    m_dialog.reset();
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
    // The left edge holds the box of a check box or radio button and the
    // text of a push button alike.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->height() / 2, button->height() / 2));
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
    // Latin letters come as key presses; Japanese arrives from the input
    // method as committed text.
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
    combo->setFocus();
    // The arrow keys step through a closed list as a user would.
    while (combo->currentIndex() < position)
        QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > position)
        QTest::keyClick(combo, Qt::Key_Up);
    ASSERT_EQ(combo->currentIndex(), position);
}

bool SettingsDialogTest::enabled(const char *name) const
{
    return control<QWidget>(name)->isEnabled();
}

bool SettingsDialogTest::checked(const char *name) const
{
    return control<QAbstractButton>(name)->isChecked();
}

int SettingsDialogTest::storedInt(int number, const char *key)
{
    return m_store.GetProfileInt(QStringLiteral("Schedule%1").arg(number), QString::fromLatin1(key), -999);
}

QString SettingsDialogTest::storedText(int number, const char *key)
{
    return m_store.GetProfileString(
        QStringLiteral("Schedule%1").arg(number), QString::fromLatin1(key), QStringLiteral("(none)"));
}
