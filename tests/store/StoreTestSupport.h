#pragma once

#include "LocalTime.h"
#include "MessagePresenter.h"
#include "ScheduleTable.h"
#include "SettingsLauncher.h"

#include <QString>
#include <QStringList>

#include <ostream>
#include <vector>

// Readable texts in GoogleTest's failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

void PrintTo(const ScheduleEntry &entry, std::ostream *out);

inline constexpr LocalTime kToday{2024, 2, 29, 8, 30, 0, 4};

// Counts requests to open the settings instead of opening anything.
class CountingLauncher final : public SettingsLauncher
{
public:
    void OpenSettings(const LocalTime &) override { ++opened; }
    int opened = 0;
};

class RecordingPresenter final : public MessagePresenter
{
public:
    void ShowMessage(const QString &text, Icon icon) override { shown.push_back({text, icon}); }
    struct Shown
    {
        QString text;
        Icon icon;
    };
    std::vector<Shown> shown;
};

// Texts that a store format could mangle: blanks, separators, quotes,
// escapes, line breaks, markers of serialized values, scripts outside
// Shift-JIS.
extern const QStringList kTrickyTexts;

// A table of the extreme numbers (INT_MIN, INT_MAX, negative day numbers) and
// the tricky texts.
ScheduleTable extremeTable();

// A table in which every number and text is unlike its default and tells
// which generation wrote it, for checking that a load gives one whole save.
ScheduleTable generationTable(int generation);

// The generation a table was written by, or -1 when it is no whole table of
// any generation.
int generationOf(const ScheduleTable &table, int thisYear);

// Loads the INI store at path as the program would at start.
ScheduleTable loadStoreFile(const QString &path, int *thisYear = nullptr);
