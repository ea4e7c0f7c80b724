#pragma once

#include "DialogTemplate.h"

// Identifiers of the settings dialog's controls.
namespace ScheduleDialogIds {
enum : int {
    Ok = 1,
    Cancel = 2,
    Tabs = 1000,
    Valid = 1001,
    Kind = 1002,
    HourSpin = 1004,
    Hour = 1005,
    Minute = 1006,
    Mon = 1007,
    MinuteSpin = 1008,
    Tue = 1009,
    Wed = 1010,
    Thu = 1011,
    Fri = 1012,
    Sat = 1013,
    Sun = 1014,
    Summary = 1015,
    Apply = 1016,
    Message = 1017,
    Calendar = 1020,
    AfterAction = 1021,
    DayOfMonth = 1024,
    EveryMonth = 1025,
    DayNote = 1026,
    ShortMonthNote = 1030,
    BeepRadio = 1032,
    WavRadio = 1033,
    WavPath = 1034,
    SelectWav = 1035,
    NoSoundRadio = 1036,
};
} // namespace ScheduleDialogIds

// Template 130: the settings dialog with its ten schedule tabs.
const DialogTemplate &scheduleDialogTemplate();
