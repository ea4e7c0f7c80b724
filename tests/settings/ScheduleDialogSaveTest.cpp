#include "SettingsDialogFixture.h"

#include <QCheckBox>
#include <QComboBox>

namespace {

constexpr int kOneSave = 1 + 10 * 29; // THIS_YEAR and ten sections in full

TEST_F(SettingsDialogTest, EditsSurviveATabChange)
{
    enableFirst();
    open();
    type("messageEdit", QStringLiteral("歯医者"));
    type("hourEdit", QStringLiteral("17"));
    click("friCheck");
    clickTab(1);
    EXPECT_EQ(edit("messageEdit")->text(), QStringLiteral("スケジュール2"));
    EXPECT_FALSE(checked("friCheck"));
    clickTab(0);
    EXPECT_EQ(edit("messageEdit")->text(), QStringLiteral("歯医者"));
    EXPECT_EQ(edit("hourEdit")->text(), QStringLiteral("17"));
    EXPECT_TRUE(checked("friCheck"));
    EXPECT_EQ(writesToStore(), 0);
    EXPECT_EQ(m_doc.schedules[0].msg, QStringLiteral("スケジュール1"));
}

TEST_F(SettingsDialogTest, LeavingARefusedScheduleStillChangesTab)
{
    m_doc.schedules[0].valid = 1;
    m_doc.schedules[0].WED = 1;
    m_doc.schedules[1].valid = 1;
    m_doc.schedules[1].WED = 1;
    open();
    type("messageEdit", QString());
    clickTab(1);
    ASSERT_EQ(m_messages.texts.size(), 1u);
    EXPECT_EQ(
        m_messages.texts[0], QStringLiteral("メッセージが入力されていないので、設定は無効になります。"));
    EXPECT_EQ(control<QTabWidget>("tabs")->currentIndex(), 1);
    // The check box shows the new schedule, still enabled.
    EXPECT_TRUE(checked("validCheck"));
    EXPECT_EQ(edit("summaryEdit")->text(), QStringLiteral("2 です。"));
    clickTab(0);
    EXPECT_FALSE(checked("validCheck"));
    EXPECT_FALSE(enabled("messageEdit"));
}

// Each refusal: Apply shows the message and saves nothing; OK shows it,
// saves the table with the schedule disabled and stays open; a second OK
// closes the dialog.
TEST_F(SettingsDialogTest, RefusalsDisableTheScheduleAndFollowOkOrApply)
{
    struct Row
    {
        const char *name;
        std::function<void(SettingsDialogTest &)> edit;
        const char *message;
    };
    const std::vector<Row> rows = {
        {"no message", [](SettingsDialogTest &t) { t.type("messageEdit", QString()); },
            "メッセージが入力されていないので、設定は無効になります。"},
        {"hour 24", [](SettingsDialogTest &t) { t.type("hourEdit", QStringLiteral("24")); },
            "時刻が正しく入力されていないので、設定は無効になります。"},
        {"minute -1", [](SettingsDialogTest &t) { t.type("minuteEdit", QStringLiteral("-1")); },
            "時刻が正しく入力されていないので、設定は無効になります。"},
        {"no weekday", [](SettingsDialogTest &t) { t.click("wedCheck"); },
            "実行すべき曜日が入力されていないので、設定は無効になります。"},
        {"monthly day 0",
            [](SettingsDialogTest &t) {
                t.chooseRule(1);
                t.type("dayOfMonthEdit", QStringLiteral("0"));
            },
            "実行すべき日付が入力されていないので、設定は無効になります。"},
        {"one-time at this minute",
            [](SettingsDialogTest &t) {
                t.chooseRule(2);
                t.type("hourEdit", QStringLiteral("12"));
                t.type("minuteEdit", QStringLiteral("0"));
            },
            "スケジュールが過去の時刻にセットされました。\n設定は無効になります。"},
    };
    for (const Row &r : rows) {
        for (const char *button : {"applyButton", "okButton"}) {
            SCOPED_TRACE(testing::Message() << r.name << " " << button);
            TearDown();
            SetUp();
            enableFirst();
            m_doc.schedules[3].valid = 1;
            open();
            r.edit(*this);
            click(button);

            ASSERT_EQ(m_messages.texts.size(), 1u);
            EXPECT_EQ(m_messages.texts[0], QString::fromUtf8(r.message));
            EXPECT_EQ(m_messages.icons[0], MessagePresenter::Icon::Exclamation);
            EXPECT_FALSE(checked("validCheck"));
            EXPECT_EQ(edit("summaryEdit")->text(), QStringLiteral("4 です。"));
            EXPECT_TRUE(m_dialog->isVisible());
            if (QByteArray(button) == "applyButton") {
                EXPECT_EQ(writesToStore(), 0);
                EXPECT_EQ(m_doc.schedules[0].valid, 1);
                continue;
            }
            EXPECT_EQ(writesToStore(), kOneSave);
            EXPECT_EQ(storedInt(1, "valid"), 0);
            EXPECT_EQ(m_doc.schedules[0].valid, 0);
            click("okButton");
            EXPECT_FALSE(m_dialog->isVisible());
            EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
            EXPECT_EQ(m_messages.texts.size(), 1u);
            EXPECT_EQ(writesToStore(), 2 * kOneSave);
        }
    }
}

TEST_F(SettingsDialogTest, OneTimeScheduleAtTheNextMinuteIsAccepted)
{
    open();
    click("validCheck");
    chooseRule(2);
    type("hourEdit", QStringLiteral("12"));
    type("minuteEdit", QStringLiteral("1"));
    click("applyButton");
    EXPECT_TRUE(m_messages.texts.empty());
    EXPECT_EQ(storedInt(1, "valid"), 1);
    EXPECT_EQ(storedInt(1, "kind"), 2);
    EXPECT_EQ(storedInt(1, "OnceActionDay"), 8);
}

TEST_F(SettingsDialogTest, WeeklyDayNumbersCountFromTodaysWeekday)
{
    // Wednesday 8 April 2026 is day 98; the clock says 12:00.
    m_doc.THIS_YEAR = 2025;
    open();
    click("validCheck");
    click("monCheck");
    click("friCheck");
    click("wedCheck");
    type("hourEdit", QStringLiteral("12"));
    type("minuteEdit", QStringLiteral("30"));
    click("applyButton");
    EXPECT_TRUE(m_messages.texts.empty());
    EXPECT_EQ(m_doc.THIS_YEAR, 2026);
    EXPECT_EQ(storedInt(1, "Next_Mon"), 103);
    EXPECT_EQ(storedInt(1, "Next_FRI"), 100);
    EXPECT_EQ(storedInt(1, "Next_WED"), 98);

    type("hourEdit", QStringLiteral("11"));
    click("applyButton");
    EXPECT_EQ(storedInt(1, "Next_WED"), 105);
    EXPECT_EQ(storedInt(1, "Next_SAT"), 0); // never chosen
}

TEST_F(SettingsDialogTest, DisabledScheduleIsStoredAsTypedWithoutAMessage)
{
    enableFirst();
    open();
    type("hourEdit", QStringLiteral("24"));
    type("messageEdit", QString());
    click("validCheck");
    click("okButton");
    EXPECT_TRUE(m_messages.texts.empty());
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(storedInt(1, "htime"), 24);
    EXPECT_EQ(storedText(1, "msg"), QString());
}

TEST_F(SettingsDialogTest, UnknownKindShowsNoRuleAndIsTakenOverAsMinusOne)
{
    m_doc.schedules[0].kind = 7;
    open();
    EXPECT_EQ(control<QComboBox>("kindCombo")->currentIndex(), -1);
    // One page only, not three on top of each other.
    EXPECT_TRUE(control<QWidget>("sunCheck")->isVisible());
    EXPECT_FALSE(control<QWidget>("dayOfMonthEdit")->isVisible());
    EXPECT_FALSE(control<QWidget>("calendar")->isVisible());
    click("applyButton");
    EXPECT_EQ(storedInt(1, "kind"), -1);
    EXPECT_EQ(m_doc.schedules[0].kind, -1);
}

TEST_F(SettingsDialogTest, CancelDropsEditsButKeepsThisYear)
{
    m_doc.THIS_YEAR = 2024;
    const ScheduleTable before = m_doc.schedules;
    open();
    click("validCheck");
    type("messageEdit", QStringLiteral("消える"));
    clickTab(4);
    click("cancelButton");
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(m_doc.schedules == before);
    EXPECT_EQ(m_doc.THIS_YEAR, 2026);
    EXPECT_EQ(writesToStore(), 0);
}

TEST_F(SettingsDialogTest, CloseBoxCancels)
{
    enableFirst();
    open();
    type("messageEdit", QStringLiteral("消える"));
    m_dialog->close();
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_EQ(m_doc.schedules[0].msg, QStringLiteral("スケジュール1"));
}

} // namespace
