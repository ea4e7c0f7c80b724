#pragma once

#include "LocalTime.h"

#include <QString>

class CTickwellDoc;
class EntrySoundPlayer;
class NoticePresenter;
struct ScheduleEntry;

// Finds occurrences of entries marked to report missed ones (valid and
// bAfterAction both 1) whose set time passed unfired, reports each once and
// moves the entry's bookkeeping past it.
class MissedMessageScanner
{
public:
    MissedMessageScanner(CTickwellDoc &doc, EntrySoundPlayer &sound, NoticePresenter &notice);

    // Reports every passed weekday of the weekly entries it reaches, but at
    // most one monthly or one-time entry: the scan ends after that report.
    void ScanMissedMessages(const LocalTime &now);

    // Plays the entry's sound and shows the report; a one-time entry is
    // disabled. weekday is the missed weekday of a weekly entry, else -1.
    void ReportMissedMessage(int index, int weekday);

    // The header line, the line with the set day and time, and the message,
    // joined by CR LF.
    static QString ReportText(const ScheduleEntry &entry, int weekday);

private:
    CTickwellDoc &m_doc;
    EntrySoundPlayer &m_sound;
    NoticePresenter &m_notice;
};
