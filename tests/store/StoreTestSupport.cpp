#include "StoreTestSupport.h"

#include "CTickwellDoc.h"
#include "ProfileLayout.h"
#include "ScheduleFields.h"
#include "ScheduleStore.h"
#include "SettingsProfileStore.h"

#include <climits>
#include <iterator>

const QStringList kTrickyTexts = {
    "",
    " ",
    "  leading and trailing  ",
    "a,b",
    "a, b",
    "\"quoted\"",
    "\"",
    "back\\slash\\",
    "C:\\Windows\\Media\\chimes.wav",
    "key=value",
    ";semicolon",
    "#hash",
    "line1\r\nline2\n",
    "[Schedule1]",
    "@Variant(x)",
    "@",
    "タブ\tと日本語、スケジュール",
    "€ 😀 한국어 ü",
    "\\x41\\0",
};

ScheduleTable extremeTable()
{
    const int numbers[] = {INT_MIN, -366, -1, 0, 1, 23, 2024, INT_MAX};
    ScheduleTable table;
    int next = 0;
    int text = 0;
    for (ScheduleEntry &entry : table) {
        for (const ScheduleField &field : scheduleFields()) {
            if (field.intField)
                entry.*field.intField = numbers[next++ % std::size(numbers)];
            else
                entry.*field.textField = kTrickyTexts[text++ % kTrickyTexts.size()];
        }
    }
    return table;
}

void PrintTo(const ScheduleEntry &entry, std::ostream *out)
{
    for (const ScheduleField &field : profileKeys()) {
        *out << field.key << '=';
        if (field.intField)
            *out << entry.*field.intField << ' ';
        else
            PrintTo(entry.*field.textField, out), *out << ' ';
    }
}

ScheduleTable generationTable(int generation)
{
    ScheduleTable table;
    for (int index = 0; index < ScheduleTable::kSize; ++index) {
        int k = 0;
        for (const ScheduleField &field : profileKeys()) {
            if (field.intField)
                table[index].*field.intField = -(generation * 1000 + index * 40 + ++k);
        }
        // Long texts, so that a save takes long enough to be cut in the middle.
        table[index].msg = QStringLiteral("世代%1 予定%2 ").arg(generation).arg(index).repeated(40);
        table[index].waveFilePath = QStringLiteral("/音/%1/%2.wav").arg(generation).arg(index);
    }
    return table;
}

int generationOf(const ScheduleTable &table, int thisYear)
{
    return table == generationTable(thisYear) ? thisYear : -1;
}

ScheduleTable loadStoreFile(const QString &path, int *thisYear)
{
    SettingsProfileStore profile(path);
    ScheduleStore store(profile);
    CTickwellDoc doc;
    CountingLauncher launcher;
    store.LoadSchedules(doc, kToday, launcher);
    if (thisYear)
        *thisYear = doc.THIS_YEAR;
    return doc.schedules;
}
