#include "CTickwellDoc.h"

#include "CalendarRules.h"

bool CTickwellDoc::OnNewDocument()
{
    if (bDeviceOpen == 1) {
        if (mciOpenParms)
            mciOpenParms->close();
        bDeviceOpen = 0;
    }
    return true;
}

void CTickwellDoc::UpdateMonthlyTiming(int index, int month, const LocalTime &now)
{
    ::UpdateMonthlyTiming(schedules[index], month, now);
}
