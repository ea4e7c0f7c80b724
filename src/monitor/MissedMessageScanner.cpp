#include "MissedMessageScanner.h"

#include "CTickwellDoc.h"
#include "CalendarRules.h"
#include "EntrySoundPlayer.h"
#include "MonthlyTiming.h"
#include "NoticePresenter.h"

#include <array>
#include <tuple>

namespace {

// Whether the stored date and time lie before now, compared field by field;
// the current minute itself has not passed.
bool isEarlier(int year, int month, int day, int hour, int minute, const LocalTime &now)
{
    return std::tie(year, month, day, hour, minute)
        < std::tie(now.year, now.month, now.day, now.hour, now.minute);
}

bool setTimeHasPassed(const ScheduleEntry &entry, const LocalTime &now)
{
    return entry.htime < now.hour || (entry.htime == now.hour && entry.mtime < now.minute);
}

} // namespace

MissedMessageScanner::MissedMessageScanner(
    CTickwellDoc &doc, EntrySoundPlayer &sound, NoticePresenter &notice)
    : m_doc(doc)
    , m_sound(sound)
    , m_notice(notice)
{
}

void MissedMessageScanner::ScanMissedMessages(const LocalTime &now)
{
    const int today = DayOfYear(now.day, now.month, now.year);
    for (int index = 0; index < ScheduleTable::kSize; ++index) {
        ScheduleEntry &entry = m_doc.schedules[index];
        if (entry.valid != 1 || entry.bAfterAction != 1)
            continue;
        switch (entry.kind) {
        case ScheduleEntry::Weekly:
            for (int weekday = 0; weekday < 7; ++weekday) {
                if (entry.weekdayFlag(weekday) != 1)
                    continue;
                const int dayNumber = entry.nextDay(weekday);
                if (dayNumber < today) {
                    entry.nextDay(weekday) = NextDateOfWeekday(weekday, entry.htime, entry.mtime, now);
                } else if (dayNumber == today && setTimeHasPassed(entry, now)) {
                    entry.nextDay(weekday) = today + 7;
                } else {
                    continue;
                }
                ReportMissedMessage(index, weekday);
                entry.valid = 1;
            }
            break;
        case ScheduleEntry::Monthly:
            if (isEarlier(entry.timingOfYear, entry.timingOfMonth, entry.dayOfMonth, entry.htime, entry.mtime,
                    now)) {
                // Not past this month's occurrence if that is due right now.
                MoveMonthlyTimingOn(entry, now);
                ReportMissedMessage(index, -1);
                return;
            }
            break;
        case ScheduleEntry::Once:
            if (isEarlier(entry.OnceActionYear, entry.OnceActionMonth, entry.OnceActionDay, entry.htime,
                    entry.mtime, now)) {
                ReportMissedMessage(index, -1);
                return;
            }
            break;
        default:
            break;
        }
    }
}

void MissedMessageScanner::ReportMissedMessage(int index, int weekday)
{
    ScheduleEntry &entry = m_doc.schedules[index];
    const QString text = ReportText(entry, weekday);
    if (entry.kind == ScheduleEntry::Once)
        entry.valid = 0;
    m_sound.PlayEntrySound(index);
    m_notice.ShowNotice(text);
}

QString MissedMessageScanner::ReportText(const ScheduleEntry &entry, int weekday)
{
    static const std::array<QString, 7> names = {
        QStringLiteral("日"),
        QStringLiteral("月"),
        QStringLiteral("火"),
        QStringLiteral("水"),
        QStringLiteral("木"),
        QStringLiteral("金"),
        QStringLiteral("土"),
    };
    QString text = QStringLiteral("設定時刻を過ぎてしまった未表示のメッセージです。\r\n設定時刻 : ");
    switch (entry.kind) {
    case ScheduleEntry::Once:
        text += QStringLiteral("%1 年 %2 月 %3 日 ")
                    .arg(entry.OnceActionYear)
                    .arg(entry.OnceActionMonth)
                    .arg(entry.OnceActionDay);
        break;
    case ScheduleEntry::Monthly:
        text += QStringLiteral("%1 日 ").arg(entry.dayOfMonth);
        break;
    default: {
        const QString name
            = weekday >= 0 && weekday < 7 ? names[static_cast<std::size_t>(weekday)] : QString();
        text += QStringLiteral(" ") + name + QStringLiteral("曜設定 ");
        break;
    }
    }
    text += QStringLiteral(" %1 時 %2 分").arg(entry.htime).arg(entry.mtime);
    text += QStringLiteral("\r\n") + entry.msg;
    return text;
}
