#pragma once

#include <QDate>
#include <QString>

// What the settings dialog's controls hold for the schedule on show. The
// first group are the dialog's exchange values, named as its members; the
// second group are read straight from their controls when the schedule is
// taken over into the working table.
struct ScheduleForm
{
    int m_valid = 0;
    int m_sun = 0;
    int m_mon = 0;
    int m_tue = 0;
    int m_wed = 0;
    int m_thu = 0;
    int m_fri = 0;
    int m_sat = 0;
    int m_hour = 0;
    int m_minute = 0;
    int m_afterAction = 0;
    int m_dayOfMonth = 0;
    QString m_msg;

    // Rule list position (0 weekly, 1 monthly, 2 once), -1 when none is selected.
    int kindSelection = -1;
    // The calendar's selected date.
    QDate onceDate;
    // The checked sound radio button as a sound value, -1 when none is checked.
    int soundChoice = -1;
    // The text of the WAV file name.
    QString waveFilePath;
};
