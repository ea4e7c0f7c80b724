#include "SettingsDialogFixture.h"

#include <QComboBox>
#include <QTabWidget>

#include <functional>

namespace {

constexpr int kOneSave = 1 + 10 * 29; // THIS_YEAR, then ten sections in full

TEST_F(SettingsDialogTest, TabChangeKeepsEditsAndNeverStops)
{
    enableFirst();
    m_doc.schedules[1] = m_doc.schedules[0];
    open();
    type("hourEdit", QStringLiteral("17"));
    click("friCheck");
    clickTab(1);
    clickTab(0);
    EXPECT_EQ(edit("hourEdit")->text(), QStringLiteral("17"));
    EXPECT_TRUE(checked("friCheck"));
    EXPECT_EQ(writes(), 0);

    // Leaving a refused schedule shows its message and the new tab all the
    // same; the check box shows the new schedule, and the old one comes back
    // disabled.
    type("messageEdit", QString());
    clickTab(1);
    ASSERT_EQ(m_messages.texts.size(), 1u);
    EXPECT_EQ(
        m_messages.texts[0], QStringLiteral("メッセージが入力されていないので、設定は無効になります。"));
    EXPECT_EQ(control<QTabWidget>("tabs")->currentIndex(), 1);
    EXPECT_TRUE(checked("validCheck"));
    EXPECT_EQ(edit("summaryEdit")->text(), QStringLiteral("2 です。"));
    clickTab(0);
    EXPECT_FALSE(checked("validCheck"));
    EXPECT_FALSE(edit("messageEdit")->isEnabled());
}

// Apply shows the refusal and saves nothing; OK shows it, saves the table
// with the schedule disabled and stays open; a second OK closes.
TEST_F(SettingsDialogTest, RefusalsFollowedByApplyOrOk)
{
    using Edit = std::function<void(SettingsDialogTest &)>;
    const std::vector<std::pair<Edit, const char *>> rows = {
        {[](SettingsDialogTest &t) { t.type("messageEdit", QString()); },
            "メッセージが入力されていないので、設定は無効になります。"},
        {[](SettingsDialogTest &t) { t.type("hourEdit", QStringLiteral("24")); },
            "時刻が正しく入力されていないので、設定は無効になります。"},
        {[](SettingsDialogTest &t) { t.type("minuteEdit", QStringLiteral("-1")); },
            "時刻が正しく入力されていないので、設定は無効になります。"},
        {[](SettingsDialogTest &t) { t.click("wedCheck"); },
            "実行すべき曜日が入力されていないので、設定は無効になります。"},
        {[](SettingsDialogTest &t) {
             t.chooseRule(1);
             t.type("dayOfMonthEdit", QStringLiteral("0"));
         },
            "実行すべき日付が入力されていないので、設定は無効になります。"},
        {[](SettingsDialogTest &t) { // today at the current minute
             t.chooseRule(2);
             t.type("hourEdit", QStringLiteral("12"));
         },
            "スケジュールが過去の時刻にセットされました。\n設定は無効になります。"},
    };
    for (const auto &[edit, message] : rows) {
        for (const bool ok : {false, true}) {
            SCOPED_TRACE(testing::Message() << message << (ok ? " OK" : " Apply"));
            SetUp();
            enableFirst();
            m_doc.schedules[3].valid = 1;
            open();
            edit(*this);
            click(ok ? "okButton" : "applyButton");
            ASSERT_EQ(m_messages.texts.size(), 1u);
            EXPECT_EQ(m_messages.texts[0], QString::fromUtf8(message));
            EXPECT_EQ(m_messages.lastIcon, MessagePresenter::Icon::Exclamation);
            EXPECT_FALSE(checked("validCheck"));
            EXPECT_EQ(this->edit("summaryEdit")->text(), QStringLiteral("4 です。"));
            EXPECT_TRUE(m_dialog->isVisible());
            EXPECT_EQ(writes(), ok ? kOneSave : 0);
            EXPECT_EQ(m_doc.schedules[0].valid, ok ? 0 : 1);
            if (ok) {
                EXPECT_EQ(storedInt(1, "valid"), 0);
                click("okButton");
                EXPECT_FALSE(m_dialog->isVisible());
                EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
                EXPECT_EQ(writes(), 2 * kOneSave);
            }
        }
    }
}

TEST_F(SettingsDialogTest, WeeklyDayNumbersCountFromTodaysWeekday)
{
    m_doc.THIS_YEAR = 2025; // set again by the take-over
    open();
    click("validCheck");
    click("monCheck");
    click("friCheck");
    click("wedCheck");
    type("minuteEdit", QStringLiteral("1"));
    for (const auto &[hour, wednesday] : {std::pair{"12", 98}, std::pair{"11", 105}}) {
        type("hourEdit", QString::fromLatin1(hour));
        click("applyButton");
        EXPECT_EQ(storedInt(1, "Next_WED"), wednesday) << hour;
    }
    EXPECT_EQ(m_doc.THIS_YEAR, 2026);
    EXPECT_EQ(storedInt(1, "Next_Mon"), 103);
    EXPECT_EQ(storedInt(1, "Next_FRI"), 100);
    EXPECT_EQ(storedInt(1, "Next_SAT"), 0); // never chosen
    EXPECT_TRUE(m_messages.texts.empty());
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
    EXPECT_TRUE(m_doc.schedules[0].msg.isEmpty());
}

TEST_F(SettingsDialogTest, UnknownKindShowsNoRuleAndIsTakenOverAsMinusOne)
{
    m_doc.schedules[0].kind = 7;
    open();
    EXPECT_EQ(control<QComboBox>("kindCombo")->currentIndex(), -1);
    // One page only, not all three on top of each other.
    EXPECT_TRUE(control("sunCheck")->isVisible());
    EXPECT_FALSE(control("dayOfMonthEdit")->isVisible() || control("calendar")->isVisible());
    click("applyButton");
    EXPECT_EQ(storedInt(1, "kind"), -1);
}

TEST_F(SettingsDialogTest, CancelAndCloseBoxDropEditsButKeepThisYear)
{
    for (const bool closeBox : {false, true}) {
        SetUp();
        m_doc.THIS_YEAR = 2024;
        const ScheduleTable before = m_doc.schedules;
        open();
        click("validCheck");
        type("messageEdit", QStringLiteral("消える"));
        clickTab(4);
        if (closeBox)
            m_dialog->close();
        else
            click("cancelButton");
        EXPECT_FALSE(m_dialog->isVisible());
        EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
        EXPECT_TRUE(m_doc.schedules == before);
        EXPECT_EQ(m_doc.THIS_YEAR, 2026);
        EXPECT_EQ(writes(), 0);
    }
}

} // namespace
