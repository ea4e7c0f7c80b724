#include "EntryValidator.h"
#include "ScheduleEntry.h"
#include "ScheduleForm.h"
#include "SettingsMessages.h"

#include <gtest/gtest.h>

namespace {

using namespace SettingsMessages;

TEST(EntryValidator, ReportsTheFirstFailingCheckOfAnEnabledEntry)
{
    struct Row
    {
        const char *name;
        int valid, kind;
        const char *msg;
        int hour, minute, dayOfMonth;
        bool anyWeekday;
        const char *refusal; // nullptr: accepted
    };
    const Row rows[] = {
        {"weekly ok", 1, 0, "会議", 9, 30, 0, true, nullptr},
        {"monthly ok", 1, 1, "会議", 0, 0, 31, false, nullptr},
        {"once is not checked here", 1, 2, "会議", 9, 0, 0, false, nullptr},
        {"one blank is a message", 1, 0, " ", 9, 0, 1, true, nullptr},
        {"empty message", 1, 0, "", 9, 0, 1, true, kNoMessage},
        {"lone line feed", 1, 1, "\n", 9, 0, 1, false, kNoMessage},
        {"message comes first", 1, 0, "", 24, 0, 0, false, kNoMessage},
        {"hour 24", 1, 0, "x", 24, 0, 1, true, kBadTime},
        {"hour -1", 1, 2, "x", -1, 0, 1, false, kBadTime},
        {"minute 60", 1, 1, "x", 23, 60, 15, false, kBadTime},
        {"minute -1", 1, 0, "x", 0, -1, 1, true, kBadTime},
        {"time before weekday", 1, 0, "x", 25, 0, 1, false, kBadTime},
        {"no weekday", 1, 0, "x", 9, 0, 10, false, kNoWeekday},
        {"weekly ignores the day", 1, 0, "x", 9, 0, 0, true, nullptr},
        {"day 0", 1, 1, "x", 9, 0, 0, true, kNoDay},
        {"day 32", 1, 1, "x", 9, 0, 32, true, kNoDay},
        {"monthly ignores weekdays", 1, 1, "x", 9, 0, 1, false, nullptr},
        {"unknown kind", 1, -1, "x", 9, 0, 0, false, nullptr},
        {"disabled: nothing checked", 0, 0, "", 24, 99, 0, false, nullptr},
        {"valid 2 is not enabled", 2, 1, "", 24, 0, 0, false, nullptr},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        ScheduleEntry entry;
        entry.valid = r.valid;
        entry.kind = r.kind;
        entry.msg = QString::fromUtf8(r.msg);
        entry.WED = r.anyWeekday ? 1 : 2; // 2 is not a chosen weekday
        ScheduleForm form;
        form.m_hour = r.hour;
        form.m_minute = r.minute;
        form.m_dayOfMonth = r.dayOfMonth;
        EXPECT_EQ(ValidateEntry(entry, form), r.refusal ? QString::fromUtf8(r.refusal) : QString());
    }
}

} // namespace
