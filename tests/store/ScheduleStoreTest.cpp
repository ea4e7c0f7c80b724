#include "ScheduleStore.h"
#include "CTickwellDoc.h"
#include "MemoryProfileStore.h"
#include "SettingsDialogRunner.h"
#include "SettingsOpener.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace {

const QStringList kKeyOrder = {
    "valid",
    "kind",
    "htime",
    "mtime",
    "bAfterAction",
    "msg",
    "Sun",
    "Mon",
    "TUE",
    "WED",
    "THU",
    "FRI",
    "SAT",
    "Next_Sun",
    "Next_Mon",
    "Next_TUE",
    "Next_WED",
    "Next_THU",
    "Next_FRI",
    "Next_SAT",
    "dayOfMonth",
    "OnceActionYear",
    "OnceActionMonth",
    "OnceActionDay",
    "timingOfWeek",
    "timingOfMonth",
    "timingOfYear",
    "sound",
    "waveFilePath",
};

// Every section and key, in the order of a load or a save.
QStringList accessOrder(const std::vector<MemoryProfileStore::Access> &accesses)
{
    QStringList order;
    for (const auto &access : accesses)
        order << access.section + "/" + access.key;
    return order;
}

QStringList sectionKeys()
{
    QStringList keys;
    for (int n = 1; n <= 10; ++n) {
        for (const QString &key : kKeyOrder)
            keys << QString("Schedule%1/%2").arg(n).arg(key);
    }
    return keys;
}

// Runs a given action in place of the modal dialog.
class ScriptedDialog final : public SettingsDialogRunner
{
public:
    void RunModal(CTickwellDoc &doc) override
    {
        ++runs;
        yearWhileOpen = doc.THIS_YEAR;
        flagWhileOpen = doc.bDialogOpen;
        if (during)
            during();
    }
    std::function<void()> during;
    int runs = 0;
    int yearWhileOpen = -1;
    int flagWhileOpen = -1;
};

TEST(ScheduleStore, EmptyStoreLoadsDefaultsInKeyOrderAndOpensTheSettingsWithThisYear)
{
    MemoryProfileStore profile;
    ScheduleStore store(profile);
    CTickwellDoc doc;
    ScriptedDialog dialog;
    SettingsOpener opener(doc, dialog);
    doc.THIS_YEAR = 1999;
    store.LoadSchedules(doc, kToday, opener);

    EXPECT_EQ(accessOrder(profile.reads()), sectionKeys() << "THIS_YEAR/THIS_YEAR");
    for (int i = 0; i < 10; ++i) {
        const ScheduleEntry &e = doc.schedules[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(e.msg, QString("スケジュール%1").arg(i + 1));
        EXPECT_EQ(e.waveFilePath, "*.wav");
        EXPECT_EQ(e.sound, 1);
        EXPECT_EQ(e.dayOfMonth, 1);
        EXPECT_EQ(std::tuple(e.OnceActionYear, e.OnceActionMonth, e.OnceActionDay), std::tuple(2024, 2, 29));
        ScheduleEntry zeros = e;
        zeros.msg.clear();
        zeros.waveFilePath.clear();
        zeros.sound = zeros.dayOfMonth = zeros.OnceActionYear = zeros.OnceActionMonth = zeros.OnceActionDay
            = 0;
        EXPECT_EQ(zeros, ScheduleEntry{});
    }
    EXPECT_EQ(dialog.runs, 1);
    EXPECT_EQ(dialog.yearWhileOpen, 2024);
    EXPECT_EQ(dialog.flagWhileOpen, 1);
    EXPECT_EQ(doc.bDialogOpen, 0);
    EXPECT_TRUE(profile.writes().empty());
}

TEST(ScheduleStore, StoredThisYearDecidesTheFirstRun)
{
    const struct
    {
        QVariant stored;
        int expectedYear;
        int opened;
    } rows[] = {{2023, 2023, 0}, {0, 0, 1}, {-1, -1, 0}, {QString("2023"), 0, 1}, {QVariant(), 0, 1}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.stored.toString().toStdString());
        MemoryProfileStore profile;
        if (row.stored.isValid())
            profile.put("THIS_YEAR", "THIS_YEAR", row.stored);
        CTickwellDoc doc;
        CountingLauncher launcher;
        ScheduleStore(profile).LoadSchedules(doc, kToday, launcher);
        EXPECT_EQ(doc.THIS_YEAR, row.expectedYear);
        EXPECT_EQ(launcher.opened, row.opened);
    }
}

TEST(ScheduleStore, SaveWritesThisYearFirstThenEverySectionInFullAndLoadsBackUnchanged)
{
    MemoryProfileStore profile;
    ScheduleStore store(profile);
    CTickwellDoc doc;
    doc.THIS_YEAR = 2025;
    ScheduleTable working; // fresh entries: empty texts, zeros
    working[0].Next_Sun = -366;
    working[0].Next_SAT = INT_MIN;
    working[3].timingOfWeek = 123456789;
    working[9].msg = "";
    working[9].OnceActionDay = INT_MAX;
    RecordingPresenter messages;
    EXPECT_TRUE(store.SaveSchedules(working, doc, messages));

    EXPECT_EQ(accessOrder(profile.writes()), QStringList("THIS_YEAR/THIS_YEAR") << sectionKeys());
    EXPECT_EQ(profile.writes().front().value, QVariant(2025));
    EXPECT_EQ(doc.schedules, working);
    EXPECT_TRUE(messages.shown.empty());

    CTickwellDoc second;
    CountingLauncher launcher;
    store.LoadSchedules(second, kToday, launcher);
    EXPECT_EQ(second.schedules, working);
    EXPECT_EQ(second.THIS_YEAR, 2025);
    EXPECT_EQ(launcher.opened, 0);
}

TEST(ScheduleStore, FailedSaveIsReportedAndTheDocumentStillTakesTheTable)
{
    MemoryProfileStore profile;
    ScheduleStore store(profile);
    CTickwellDoc doc;
    ScheduleTable working = generationTable(3);
    RecordingPresenter messages;
    profile.setFailing(true);
    EXPECT_FALSE(store.SaveSchedules(working, doc, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "設定を保存できませんでした。\n(memory)");
    EXPECT_EQ(messages.shown[0].icon, MessagePresenter::Icon::Exclamation);
    EXPECT_EQ(doc.schedules, working);
    EXPECT_FALSE(profile.contains("Schedule1", "valid"));

    // The next save tries again.
    profile.setFailing(false);
    EXPECT_TRUE(store.SaveSchedules(working, doc, messages));
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(profile.writes().size(), 291u);
}

TEST(SettingsOpener, ASecondRequestWhileTheDialogIsOpenDoesNothing)
{
    CTickwellDoc doc;
    doc.THIS_YEAR = 2020;
    ScriptedDialog dialog;
    SettingsOpener opener(doc, dialog);
    dialog.during = [&] {
        doc.THIS_YEAR = 2030; // as a take-over in the dialog might
        opener.OpenSettings({2040, 1, 1, 0, 0, 0, 0});
    };
    opener.OpenSettings({2024, 5, 1, 0, 0, 0, 3});
    EXPECT_EQ(dialog.runs, 1);
    EXPECT_EQ(dialog.yearWhileOpen, 2024);
    EXPECT_EQ(doc.THIS_YEAR, 2030);
    EXPECT_EQ(doc.bDialogOpen, 0);

    // Closed again, the next request opens it.
    dialog.during = nullptr;
    opener.OpenSettings({2024, 5, 2, 0, 0, 0, 4});
    EXPECT_EQ(dialog.runs, 2);
}

} // namespace
