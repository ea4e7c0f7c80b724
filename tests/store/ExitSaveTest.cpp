#include "ExitSave.h"
#include "CTickwellDoc.h"
#include "MemoryProfileStore.h"
#include "ScheduleStore.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(ExitSave, SavesTheSnapshotTakenASecondBeforeTheWrites)
{
    for (bool failing : {false, true}) {
        SCOPED_TRACE(failing);
        MemoryProfileStore profile;
        profile.setFailing(failing);
        ScheduleStore store(profile);
        CTickwellDoc doc;
        doc.THIS_YEAR = 2024;
        doc.schedules = generationTable(7);
        std::vector<long long> waits;
        std::size_t writesBeforeWait = 99;
        std::ostringstream errors;
        ExitSave save(
            store,
            [&](std::chrono::milliseconds pause) {
                waits.push_back(pause.count());
                writesBeforeWait = profile.writes().size();
                doc.schedules[0].valid = 42; // not part of the snapshot
            },
            &errors);

        EXPECT_EQ(save.Run(doc), !failing);
        EXPECT_EQ(waits, std::vector<long long>{1000});
        EXPECT_EQ(writesBeforeWait, 0u);
        EXPECT_EQ(doc.schedules, generationTable(7));
        if (failing) {
            EXPECT_EQ(errors.str(), "設定を保存できませんでした。\n(memory)\n");
            EXPECT_TRUE(profile.writes().empty());
        } else {
            EXPECT_EQ(errors.str(), "");
            ASSERT_EQ(profile.writes().size(), 291u);
            EXPECT_EQ(profile.writes()[1].value, QVariant(generationTable(7)[0].valid));
        }
    }
}

} // namespace
