#pragma once

#include "LocalTime.h"
#include "ScheduleTable.h"

// The open WAV playback, seen from the document so that a new document can
// close a device left open by the previous one.
class WaveDevice
{
public:
    virtual ~WaveDevice() = default;
    virtual void close() = 0;
};

// The one document: the live table and the year its weekly day numbers count
// from. It has no file form; the table lives only in the settings store.
class CTickwellDoc
{
public:
    CTickwellDoc() = default;
    CTickwellDoc(const CTickwellDoc &) = delete;
    CTickwellDoc &operator=(const CTickwellDoc &) = delete;

    // Closes a WAV device that is still open. Always succeeds.
    bool OnNewDocument();

    // Sets the timing of entry index to the month of its next occurrence.
    void UpdateMonthlyTiming(int index, int month, const LocalTime &now);

    // The WAV playback and whether it is open; the sound player keeps both.
    WaveDevice *mciOpenParms = nullptr;
    int bDeviceOpen = 0;
    int bDialogOpen = 0; // 1 while the settings dialog is on screen
    int THIS_YEAR = 0;   // 0: never saved (first run)
    ScheduleTable schedules;
};
