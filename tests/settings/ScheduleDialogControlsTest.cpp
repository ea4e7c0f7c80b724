#include "SettingsDialogFixture.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QTest>
#include <QToolButton>

#include "UpDownControl.h"

namespace {

TEST_F(SettingsDialogTest, OpensOnScheduleOneWithItsTabsAndRules)
{
    m_doc.schedules[0].msg = QStringLiteral("朝会");
    m_doc.schedules[0].htime = 9;
    m_doc.schedules[0].mtime = 5;
    m_doc.schedules[1].msg = QStringLiteral("昼休み");
    open();

    EXPECT_EQ(m_dialog->windowTitle(), QStringLiteral("スケジュール設定画面"));
    auto *tabs = control<QTabWidget>("tabs");
    ASSERT_EQ(tabs->count(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(tabs->tabText(i), QString::number(i + 1));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(edit("messageEdit")->text(), QStringLiteral("朝会"));
    EXPECT_EQ(edit("hourEdit")->text(), QStringLiteral("9"));
    EXPECT_EQ(edit("minuteEdit")->text(), QStringLiteral("5"));

    auto *rules = control<QComboBox>("kindCombo");
    ASSERT_EQ(rules->count(), 3);
    EXPECT_EQ(rules->itemText(0), QStringLiteral("曜日指定設定"));
    EXPECT_EQ(rules->itemText(1), QStringLiteral("月間設定"));
    EXPECT_EQ(rules->itemText(2), QStringLiteral("１回のみ設定"));
    EXPECT_FALSE(rules->isEditable());
    EXPECT_TRUE(m_messages.texts.empty());
}

TEST_F(SettingsDialogTest, EnterAndEscapeNeitherCloseNorPress)
{
    enableFirst();
    open();
    type("messageEdit", QStringLiteral("変更"));
    const char *focused[]
        = {"messageEdit", "hourEdit", "okButton", "cancelButton", "applyButton", "validCheck"};
    for (const char *name : focused) {
        SCOPED_TRACE(name);
        QWidget *widget = control<QWidget>(name);
        widget->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(widget, key);
        EXPECT_TRUE(m_dialog->isVisible());
    }
    QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(writesToStore(), 0);
    EXPECT_TRUE(m_messages.texts.empty());
    EXPECT_EQ(m_dialog->workingTable()[0].msg, QStringLiteral("スケジュール1"));
}

TEST_F(SettingsDialogTest, TabKeyFollowsTheTemplateOrder)
{
    enableFirst();
    m_doc.schedules[0].kind = 1; // the monthly page: its day edit is a stop
    open();
    QApplication::setActiveWindow(m_dialog.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog.get()));
    control<QWidget>("validCheck")->setFocus();
    QStringList visited;
    for (int i = 0; i < 12; ++i) {
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        // The tab widget takes the focus on its tab bar.
        visited << (focus->parentWidget() == m_dialog.get() ? focus->objectName()
                                                            : focus->parentWidget()->objectName());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    EXPECT_EQ(visited.join(u' '),
        QStringLiteral("validCheck kindCombo hourEdit minuteEdit dayOfMonthEdit afterActionCheck wavPathEdit "
                       "messageEdit okButton cancelButton applyButton tabs"));
}

TEST_F(SettingsDialogTest, SpinsStepAndWrapThroughTheirRange)
{
    struct Row
    {
        const char *spin, *edit, *start;
        bool up;
        const char *result;
    };
    const Row rows[] = {
        {"hourSpin", "hourEdit", "23", true, "0"},
        {"hourSpin", "hourEdit", "0", false, "23"},
        {"hourSpin", "hourEdit", "7", true, "8"},
        {"hourSpin", "hourEdit", "12abc", true, "13"},
        {"minuteSpin", "minuteEdit", "59", true, "0"},
        {"minuteSpin", "minuteEdit", "0", false, "59"},
        {"minuteSpin", "minuteEdit", "30", false, "29"},
    };
    enableFirst();
    open();
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.spin << " " << r.start << (r.up ? " up" : " down"));
        type(r.edit, QString::fromLatin1(r.start));
        auto *spin = control<UpDownControl>(r.spin);
        QTest::mouseClick(r.up ? spin->upButton() : spin->downButton(), Qt::LeftButton);
        EXPECT_EQ(edit(r.edit)->text(), QString::fromLatin1(r.result));
    }
    // The arrow keys in the edit step too.
    type("hourEdit", QStringLiteral("23"));
    QTest::keyClick(edit("hourEdit"), Qt::Key_Up);
    EXPECT_EQ(edit("hourEdit")->text(), QStringLiteral("0"));
}

TEST_F(SettingsDialogTest, IntegerEditsReadTheLeadingNumber)
{
    m_doc.schedules[0].htime = 6;
    m_doc.schedules[0].mtime = 15;
    m_doc.schedules[0].bAfterAction = 0;
    enableFirst();
    open();
    type("messageEdit", QStringLiteral("新しい"));
    type("minuteEdit", QStringLiteral("45"));
    click("afterActionCheck");

    // A text after the digits is ignored.
    type("hourEdit", QStringLiteral("12abc"));
    click("applyButton");
    EXPECT_TRUE(m_messages.texts.empty());
    EXPECT_EQ(m_doc.schedules[0].htime, 12);

    // Letters only: the read stops at the hour, so the minute and the check
    // box after it keep their last values while the message before it is new.
    type("minuteEdit", QStringLiteral("50"));
    type("messageEdit", QStringLiteral("もっと新しい"));
    for (const char *bad : {"abc", ""}) {
        SCOPED_TRACE(bad);
        m_messages.texts.clear();
        type("hourEdit", QString::fromLatin1(bad));
        type("minuteEdit", QStringLiteral("50"));
        click("applyButton");
        ASSERT_FALSE(m_messages.texts.empty());
        EXPECT_EQ(m_messages.texts.front(), QStringLiteral("整数を入力してください。"));
        EXPECT_EQ(m_messages.icons.front(), MessagePresenter::Icon::Exclamation);
        EXPECT_TRUE(edit("hourEdit")->hasFocus());
        EXPECT_EQ(edit("hourEdit")->selectedText(), edit("hourEdit")->text());
        EXPECT_EQ(m_doc.schedules[0].msg, QStringLiteral("もっと新しい"));
        EXPECT_EQ(m_doc.schedules[0].htime, 12);
        EXPECT_EQ(m_doc.schedules[0].mtime, 45);
        EXPECT_EQ(m_doc.schedules[0].bAfterAction, 1);
    }
}

TEST_F(SettingsDialogTest, SoundRadiosFollowTheEntryAndDriveTheSelectButton)
{
    m_doc.schedules[0].sound = 2;
    m_doc.schedules[0].valid = 1;
    m_doc.schedules[0].SAT = 1;
    m_doc.schedules[1].sound = 3; // no radio button stands for it
    m_doc.schedules[1].valid = 1;
    m_doc.schedules[1].SAT = 1;
    m_doc.schedules[2].sound = 0;
    open();
    EXPECT_TRUE(checked("wavRadio"));
    EXPECT_TRUE(enabled("selectWavButton"));

    clickTab(1);
    EXPECT_TRUE(checked("wavRadio"));
    EXPECT_TRUE(enabled("selectWavButton"));

    click("beepRadio");
    EXPECT_FALSE(enabled("selectWavButton"));
    click("wavRadio");
    EXPECT_TRUE(enabled("selectWavButton"));
    EXPECT_FALSE(checked("beepRadio"));
    click("noSoundRadio");
    EXPECT_FALSE(enabled("selectWavButton"));
    EXPECT_FALSE(checked("wavRadio"));

    clickTab(2);
    EXPECT_TRUE(checked("noSoundRadio"));
    // Leaving schedule 2 took the checked radio button over as its sound.
    EXPECT_EQ(m_dialog->workingTable()[1].sound, 0);
}

TEST_F(SettingsDialogTest, WavFileChooserFillsTheNameOnlyWhenConfirmed)
{
    m_doc.schedules[0].sound = 2;
    m_doc.schedules[0].waveFilePath = QStringLiteral("/old/ding.wav");
    enableFirst();
    open();
    click("selectWavButton");
    EXPECT_EQ(m_wavChooser.asked, 1);
    EXPECT_EQ(edit("wavPathEdit")->text(), QStringLiteral("/old/ding.wav"));

    m_wavChooser.answer = QStringLiteral("/home/user/音/チャイム.wav");
    click("selectWavButton");
    EXPECT_EQ(edit("wavPathEdit")->text(), QStringLiteral("/home/user/音/チャイム.wav"));
    EXPECT_TRUE(edit("wavPathEdit")->isReadOnly());
}

TEST_F(SettingsDialogTest, SummaryListsEnabledSchedulesAtOnce)
{
    open();
    EXPECT_EQ(edit("summaryEdit")->text(), QStringLiteral("ありません。"));
    clickTab(2);
    click("validCheck");
    EXPECT_EQ(edit("summaryEdit")->text(), QStringLiteral("3 です。"));
    EXPECT_EQ(writesToStore(), 0);
}

TEST_F(SettingsDialogTest, SummaryOfTwoAndTen)
{
    m_doc.schedules[1].valid = 1;
    m_doc.schedules[9].valid = 1;
    open();
    EXPECT_EQ(edit("summaryEdit")->text(), QStringLiteral("2 10 です。"));
}

TEST_F(SettingsDialogTest, EnableCheckBoxGovernsThePageButNotTheSpins)
{
    m_doc.schedules[0].valid = 1;
    m_doc.schedules[0].sound = 2;
    open();
    const char *governed[] = {"beepRadio", "wavRadio", "noSoundRadio", "wavPathEdit", "afterActionCheck",
        "sunCheck", "monCheck", "tueCheck", "wedCheck", "thuCheck", "friCheck", "satCheck", "dayOfMonthEdit",
        "everyMonthLabel", "dayNoteLabel", "shortMonthNoteLabel", "messageEdit", "calendar", "kindCombo",
        "hourEdit", "minuteEdit", "selectWavButton"};
    const char *free[]
        = {"validCheck", "hourSpin", "minuteSpin", "tabs", "okButton", "cancelButton", "applyButton"};
    for (bool on : {false, true}) {
        SCOPED_TRACE(on ? "enabled" : "disabled");
        click("validCheck");
        ASSERT_EQ(checked("validCheck"), on);
        for (const char *name : governed)
            EXPECT_EQ(enabled(name), on) << name;
        for (const char *name : free)
            EXPECT_TRUE(enabled(name)) << name;
    }
}

TEST_F(SettingsDialogTest, RulePagesShowOneGroupAtATime)
{
    enableFirst();
    open();
    struct Row
    {
        int rule;
        bool weekly, monthly, once;
    };
    for (const Row &r :
        {Row{1, false, true, false}, Row{2, false, false, true}, Row{0, true, false, false}}) {
        SCOPED_TRACE(r.rule);
        chooseRule(r.rule);
        EXPECT_EQ(control<QWidget>("wedCheck")->isVisible(), r.weekly);
        EXPECT_EQ(control<QWidget>("dayOfMonthEdit")->isVisible(), r.monthly);
        EXPECT_EQ(control<QWidget>("shortMonthNoteLabel")->isVisible(), r.monthly);
        EXPECT_EQ(control<QWidget>("calendar")->isVisible(), r.once);
    }
}

TEST_F(SettingsDialogTest, OneTimeDateIsNeverShownInThePast)
{
    m_doc.schedules[0].kind = 2;
    m_doc.schedules[0].valid = 1;
    m_doc.schedules[0].OnceActionYear = 2025;
    m_doc.schedules[0].OnceActionMonth = 12;
    m_doc.schedules[0].OnceActionDay = 24;
    m_doc.schedules[0].htime = 23; // still ahead today: leaving it is quiet
    m_doc.schedules[1].valid = 1;
    m_doc.schedules[1].OnceActionYear = 2020;
    m_doc.schedules[1].OnceActionMonth = 1;
    m_doc.schedules[1].OnceActionDay = 1;
    open();
    auto *calendar = control<QCalendarWidget>("calendar");
    const QDate today(2026, 4, 8);
    EXPECT_EQ(calendar->selectedDate(), today);

    // Schedule 2 is weekly; choosing the one-time rule brings its old date
    // forward to today as well.
    clickTab(1);
    chooseRule(2);
    EXPECT_EQ(calendar->selectedDate(), today);

    // A later date picked by the user survives a change of rule; one moved
    // back to yesterday comes back as today.
    calendar->setFocus();
    QTest::keyClick(
        calendar->findChild<QWidget *>(QStringLiteral("qt_calendar_calendarview")), Qt::Key_Right);
    EXPECT_EQ(calendar->selectedDate(), today.addDays(1));
    chooseRule(0);
    chooseRule(2);
    EXPECT_EQ(calendar->selectedDate(), today.addDays(1));
    QTest::keyClick(calendar->findChild<QWidget *>(QStringLiteral("qt_calendar_calendarview")), Qt::Key_Left);
    QTest::keyClick(calendar->findChild<QWidget *>(QStringLiteral("qt_calendar_calendarview")), Qt::Key_Left);
    EXPECT_EQ(calendar->selectedDate(), today.addDays(-1));
    chooseRule(0);
    chooseRule(2);
    EXPECT_EQ(calendar->selectedDate(), today);
    EXPECT_TRUE(m_messages.texts.empty());
}

} // namespace
