#include "DialogFit.h"
#include "SettingsDialogFixture.h"

#include "UpDownControl.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

TEST_F(SettingsDialogTest, OpensOnScheduleOneWithTenTabsAndThreeRules)
{
    m_doc.schedules[0].htime = 9;
    m_doc.schedules[1].msg = QStringLiteral("昼休み");
    open();
    EXPECT_EQ(m_dialog->windowTitle(), QStringLiteral("スケジュール設定画面"));
    auto *tabs = control<QTabWidget>("tabs");
    QStringList labels;
    for (int i = 0; i < tabs->count(); ++i)
        labels << tabs->tabText(i);
    EXPECT_EQ(labels.join(u' '), QStringLiteral("1 2 3 4 5 6 7 8 9 10"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(edit("messageEdit")->text(), QStringLiteral("スケジュール1"));
    EXPECT_EQ(edit("hourEdit")->text(), QStringLiteral("9"));
    auto *rules = control<QComboBox>("kindCombo");
    QStringList items;
    for (int i = 0; i < rules->count(); ++i)
        items << rules->itemText(i);
    EXPECT_EQ(items,
        (QStringList{
            QStringLiteral("曜日指定設定"), QStringLiteral("月間設定"), QStringLiteral("１回のみ設定")}));
    EXPECT_FALSE(rules->isEditable());
    EXPECT_EQ(edit("summaryEdit")->text(), QStringLiteral("ありません。"));
}

TEST_F(SettingsDialogTest, EnterAndEscapeNeitherCloseNorPress)
{
    enableFirst();
    open();
    type("messageEdit", QStringLiteral("変更"));
    for (const char *name : {"messageEdit", "hourEdit", "okButton", "cancelButton", "applyButton", "tabs"}) {
        control(name)->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_TRUE(m_dialog->isVisible()) << name;
    }
    EXPECT_EQ(writes(), 0);
    EXPECT_TRUE(m_messages.texts.empty());
}

TEST_F(SettingsDialogTest, TabKeyFollowsTheTemplateOrder)
{
    enableFirst();
    m_doc.schedules[0].kind = 1; // the monthly page, whose day edit is a stop
    open();
    QApplication::setActiveWindow(m_dialog.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_dialog.get()));
    control("validCheck")->setFocus();
    QStringList visited;
    for (int i = 0; i < 12; ++i) {
        QWidget *focus = QApplication::focusWidget();
        // The tab widget's focus is on its tab bar.
        visited << (focus->parentWidget() == m_dialog.get() ? focus : focus->parentWidget())->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    EXPECT_EQ(visited.join(u' '),
        QStringLiteral("validCheck kindCombo hourEdit minuteEdit dayOfMonthEdit "
                       "afterActionCheck wavPathEdit messageEdit okButton cancelButton "
                       "applyButton tabs"));
}

TEST_F(SettingsDialogTest, SpinsStepAndWrapThroughTheirRange)
{
    struct Row
    {
        const char *spin, *edit, *start;
        bool up;
        const char *result;
    };
    const Row rows[] = {{"hourSpin", "hourEdit", "23", true, "0"}, {"hourSpin", "hourEdit", "0", false, "23"},
        {"hourSpin", "hourEdit", "12abc", true, "13"}, {"minuteSpin", "minuteEdit", "59", true, "0"},
        {"minuteSpin", "minuteEdit", "0", false, "59"}};
    enableFirst();
    open();
    for (const Row &r : rows) {
        type(r.edit, QString::fromLatin1(r.start));
        auto *spin = control<UpDownControl>(r.spin);
        QTest::mouseClick(r.up ? spin->upButton() : spin->downButton(), Qt::LeftButton);
        EXPECT_EQ(edit(r.edit)->text(), QString::fromLatin1(r.result)) << r.spin << " from " << r.start;
    }
    QTest::keyClick(edit("minuteEdit"), Qt::Key_Down); // the arrow keys step too
    EXPECT_EQ(edit("minuteEdit")->text(), QStringLiteral("58"));
}

TEST_F(SettingsDialogTest, IntegerEditReadsItsLeadingNumberOrStopsTheRead)
{
    enableFirst();
    open();
    type("hourEdit", QStringLiteral("12abc"));
    click("applyButton");
    EXPECT_TRUE(m_messages.texts.empty());
    EXPECT_EQ(m_doc.schedules[0].htime, 12);

    // The read stops at the hour: the message before it is taken, the minute
    // and the check box after it keep their values.
    for (const char *bad : {"abc", ""}) {
        m_messages.texts.clear();
        type("messageEdit", QString::fromLatin1("msg ") + QString::fromLatin1(bad));
        type("hourEdit", QString::fromLatin1(bad));
        type("minuteEdit", QStringLiteral("50"));
        click("afterActionCheck");
        click("applyButton");
        ASSERT_FALSE(m_messages.texts.empty()) << bad;
        EXPECT_EQ(m_messages.texts.front(), QStringLiteral("整数を入力してください。"));
        EXPECT_EQ(m_messages.lastIcon, MessagePresenter::Icon::Exclamation);
        EXPECT_TRUE(edit("hourEdit")->hasFocus());
        EXPECT_EQ(edit("hourEdit")->selectedText(), edit("hourEdit")->text());
        EXPECT_EQ(m_doc.schedules[0].msg, QString::fromLatin1("msg ") + QString::fromLatin1(bad));
        EXPECT_EQ(m_doc.schedules[0].htime, 12);
        EXPECT_EQ(m_doc.schedules[0].mtime, 0);
        EXPECT_EQ(m_doc.schedules[0].bAfterAction, 0);
        click("afterActionCheck");
    }
}

TEST_F(SettingsDialogTest, SoundRadiosAndTheWavFileButton)
{
    enableFirst();
    m_doc.schedules[0].sound = 2;
    m_doc.schedules[0].waveFilePath = QStringLiteral("/old/ding.wav");
    m_doc.schedules[1].sound = 3; // no radio button stands for it
    open();
    EXPECT_TRUE(checked("wavRadio"));
    click("selectWavButton"); // cancelled
    EXPECT_EQ(edit("wavPathEdit")->text(), QStringLiteral("/old/ding.wav"));
    m_wavChooser.answer = QStringLiteral("/home/user/音/チャイム.wav");
    click("selectWavButton");
    EXPECT_EQ(m_wavChooser.asked, 2);
    EXPECT_EQ(edit("wavPathEdit")->text(), m_wavChooser.answer);

    click("beepRadio");
    EXPECT_FALSE(control("selectWavButton")->isEnabled());
    click("wavRadio");
    EXPECT_TRUE(control("selectWavButton")->isEnabled());
    click("noSoundRadio");
    EXPECT_FALSE(control("selectWavButton")->isEnabled());
    click("wavRadio");

    // Sound 3 leaves the radios as schedule 1 had them.
    clickTab(1);
    EXPECT_TRUE(checked("wavRadio"));
    EXPECT_EQ(m_dialog->workingTable()[0].waveFilePath, m_wavChooser.answer);
}

TEST_F(SettingsDialogTest, EnableCheckBoxGovernsThePageButNotTheSpins)
{
    enableFirst();
    m_doc.schedules[0].sound = 2;
    m_doc.schedules[9].valid = 1;
    m_doc.schedules[5].valid = 2; // enabled only when exactly 1
    open();
    EXPECT_EQ(edit("summaryEdit")->text(), QStringLiteral("1 10 です。"));
    const char *governed[] = {"beepRadio", "wavRadio", "noSoundRadio", "wavPathEdit", "afterActionCheck",
        "sunCheck", "monCheck", "tueCheck", "wedCheck", "thuCheck", "friCheck", "satCheck", "dayOfMonthEdit",
        "everyMonthLabel", "dayNoteLabel", "shortMonthNoteLabel", "messageEdit", "calendar", "kindCombo",
        "hourEdit", "minuteEdit", "selectWavButton"};
    for (bool on : {false, true}) {
        click("validCheck");
        for (const char *name : governed)
            EXPECT_EQ(control(name)->isEnabled(), on) << name;
        for (const char *name : {"validCheck", "hourSpin", "minuteSpin", "tabs", "okButton", "applyButton"})
            EXPECT_TRUE(control(name)->isEnabled()) << name;
    }
    clickTab(2);
    click("validCheck"); // the summary changes at once, before any save
    EXPECT_EQ(edit("summaryEdit")->text(), QStringLiteral("1 3 10 です。"));
    EXPECT_EQ(writes(), 0);
}

TEST_F(SettingsDialogTest, RulePagesAndTheOneTimeDateNeverInThePast)
{
    m_doc.schedules[0] = {};
    m_doc.schedules[0].valid = 1;
    m_doc.schedules[0].kind = 2;
    m_doc.schedules[0].htime = 23;
    m_doc.schedules[0].msg = QStringLiteral("x");
    m_doc.schedules[0].OnceActionYear = 2025; // passed: shown as today
    m_doc.schedules[0].OnceActionMonth = 12;
    m_doc.schedules[0].OnceActionDay = 24;
    open();
    auto *calendar = control<QCalendarWidget>("calendar");
    QWidget *days = calendar->findChild<QWidget *>(QStringLiteral("qt_calendar_calendarview"));
    const QDate today(2026, 4, 8);
    EXPECT_TRUE(calendar->isVisible());
    EXPECT_FALSE(control("wedCheck")->isVisible());
    EXPECT_EQ(calendar->selectedDate(), today);

    // A later date picked survives a change of rule; one moved back to
    // yesterday returns as today.
    QTest::keyClick(days, Qt::Key_Right);
    chooseRule(0);
    EXPECT_TRUE(control("wedCheck")->isVisible());
    EXPECT_FALSE(calendar->isVisible());
    chooseRule(1);
    EXPECT_TRUE(control("dayOfMonthEdit")->isVisible());
    EXPECT_FALSE(control("wedCheck")->isVisible());
    chooseRule(2);
    EXPECT_EQ(calendar->selectedDate(), today.addDays(1));
    QTest::keyClick(days, Qt::Key_Left);
    QTest::keyClick(days, Qt::Key_Left);
    chooseRule(0);
    chooseRule(2);
    EXPECT_EQ(calendar->selectedDate(), today);
    EXPECT_TRUE(m_messages.texts.empty());
}

// Run once per Japanese font by the test after it, with only that font for
// Japanese: each rule page reads whole, the calendar with all its columns.
TEST_F(SettingsDialogTest, EveryRulePageReadsWholeUnderTheOneJapaneseFont)
{
    const QString family = DialogFit::onlyJapaneseFamily();
    if (family.isEmpty())
        GTEST_SKIP() << "run by SettingsDialogFonts.EveryRulePageReadsWholeUnderEachJapaneseFont";
    EXPECT_TRUE(DialogFit::isTheOneJapaneseFamily(m_dialog->font()))
        << DialogFit::japaneseFamily(m_dialog->font()).toStdString();
    for (int tab = 0; tab < 3; ++tab) {
        m_doc.schedules[tab].valid = 1;
        m_doc.schedules[tab].kind = tab; // weekly, monthly, once
        m_doc.schedules[tab].WED = 1;
    }
    m_doc.schedules[0].msg = QStringLiteral("1 2 3 4 5 6 7 8 9 10");
    open();
    for (int tab = 0; tab < 3; ++tab) {
        clickTab(tab);
        const QStringList faults = DialogFit::faults(*m_dialog);
        EXPECT_TRUE(faults.isEmpty()) << "rule " << tab << ":\n" << faults.join(u'\n').toStdString();
    }
}

TEST(SettingsDialogFonts, EveryRulePageReadsWholeUnderEachJapaneseFont)
{
    DialogFit::expectPassesUnderEachJapaneseFont(
        "SettingsDialogTest.EveryRulePageReadsWholeUnderTheOneJapaneseFont");
}

} // namespace
