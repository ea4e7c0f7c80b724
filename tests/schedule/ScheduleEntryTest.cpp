#include "CTickwellDoc.h"
#include "ScheduleFields.h"
#include "ScheduleTable.h"

#include <gtest/gtest.h>

namespace {

TEST(ScheduleEntry, FieldsComeInFieldOrderWithExactKeys)
{
    const char *const keys[] = {
        "valid",
        "kind",
        "htime",
        "mtime",
        "msg",
        "bAfterAction",
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
        "timingOfYear",
        "timingOfMonth",
        "timingOfWeek",
        "OnceActionYear",
        "OnceActionMonth",
        "OnceActionDay",
        "sound",
        "waveFilePath",
    };
    const auto &fields = scheduleFields();
    ASSERT_EQ(std::size(keys), fields.size());
    // Each field writes a distinct member: set them all to distinct values.
    ScheduleEntry entry;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        EXPECT_STREQ(fields[i].key, keys[i]);
        EXPECT_NE(fields[i].intField == nullptr, fields[i].textField == nullptr) << keys[i];
        if (fields[i].intField)
            entry.*fields[i].intField = static_cast<int>(i) + 100;
        else
            entry.*fields[i].textField = QString::fromLatin1(keys[i]);
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].intField) {
            EXPECT_EQ(entry.*fields[i].intField, static_cast<int>(i) + 100) << keys[i];
        }
    }
    EXPECT_EQ(entry.msg, QStringLiteral("msg"));
    EXPECT_EQ(entry.waveFilePath, QStringLiteral("waveFilePath"));
}

TEST(ScheduleEntry, WeekdaysSelectFlagAndDayNumberFieldsSundayFirst)
{
    ScheduleEntry entry;
    for (int w = 0; w < 7; ++w) {
        entry.weekdayFlag(w) = 1 + w;
        entry.nextDay(w) = 10 + w;
    }
    EXPECT_EQ(entry.Sun, 1);
    EXPECT_EQ(entry.Mon, 2);
    EXPECT_EQ(entry.SAT, 7);
    EXPECT_EQ(entry.Next_Sun, 10);
    EXPECT_EQ(entry.Next_Mon, 11);
    EXPECT_EQ(entry.Next_SAT, 16);
}

TEST(ScheduleEntry, CopiesOwnTheirTexts)
{
    ScheduleTable table;
    table[2].msg = QStringLiteral("会議");
    table[2].waveFilePath = QStringLiteral("/tmp/a.wav");
    table[2].timingOfWeek = -12345;
    ScheduleTable copy = table;
    copy[2].msg += QStringLiteral("です");
    copy[2].waveFilePath.clear();
    EXPECT_EQ(table[2].msg, QStringLiteral("会議"));
    EXPECT_EQ(table[2].waveFilePath, QStringLiteral("/tmp/a.wav"));
    EXPECT_EQ(copy[2].timingOfWeek, -12345);
}

TEST(ScheduleTable, SectionNamesRunFromOneToTen)
{
    EXPECT_EQ(sectionName(0), QStringLiteral("Schedule1"));
    EXPECT_EQ(sectionName(9), QStringLiteral("Schedule10"));
}

class RecordingDevice final : public WaveDevice
{
public:
    void close() override { ++closes; }
    int closes = 0;
};

TEST(CTickwellDoc, NewDocumentClosesAnOpenWaveDevice)
{
    CTickwellDoc doc;
    RecordingDevice device;
    doc.mciOpenParms = &device;
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(device.closes, 0);
    doc.bDeviceOpen = 1;
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(device.closes, 1);
    EXPECT_EQ(doc.bDeviceOpen, 0);
}

} // namespace
