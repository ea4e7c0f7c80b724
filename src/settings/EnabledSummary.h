#pragma once

#include <QString>

class ScheduleTable;

// The summary line of the settings dialog: the numbers of the enabled
// schedules, each followed by a blank, then "です。"; "ありません。" when none is.
QString EnabledSummary(const ScheduleTable &table);
