#include "ProfileLayout.h"

const std::array<ScheduleField, kScheduleFieldCount> &profileKeys()
{
    using E = ScheduleEntry;
    static const std::array<ScheduleField, kScheduleFieldCount> keys = {
        numberField("valid", &E::valid),
        numberField("kind", &E::kind),
        numberField("htime", &E::htime),
        numberField("mtime", &E::mtime),
        numberField("bAfterAction", &E::bAfterAction),
        textField("msg", &E::msg),
        numberField("Sun", &E::Sun),
        numberField("Mon", &E::Mon),
        numberField("TUE", &E::TUE),
        numberField("WED", &E::WED),
        numberField("THU", &E::THU),
        numberField("FRI", &E::FRI),
        numberField("SAT", &E::SAT),
        numberField("Next_Sun", &E::Next_Sun),
        numberField("Next_Mon", &E::Next_Mon),
        numberField("Next_TUE", &E::Next_TUE),
        numberField("Next_WED", &E::Next_WED),
        numberField("Next_THU", &E::Next_THU),
        numberField("Next_FRI", &E::Next_FRI),
        numberField("Next_SAT", &E::Next_SAT),
        numberField("dayOfMonth", &E::dayOfMonth),
        numberField("OnceActionYear", &E::OnceActionYear),
        numberField("OnceActionMonth", &E::OnceActionMonth),
        numberField("OnceActionDay", &E::OnceActionDay),
        numberField("timingOfWeek", &E::timingOfWeek),
        numberField("timingOfMonth", &E::timingOfMonth),
        numberField("timingOfYear", &E::timingOfYear),
        numberField("sound", &E::sound),
        textField("waveFilePath", &E::waveFilePath),
    };
    return keys;
}

ScheduleEntry defaultEntry(int number, const LocalTime &today)
{
    ScheduleEntry entry; // every other number 0
    entry.msg = QStringLiteral("スケジュール%1").arg(number);
    entry.dayOfMonth = 1;
    entry.OnceActionYear = today.year;
    entry.OnceActionMonth = today.month;
    entry.OnceActionDay = today.day;
    entry.sound = ScheduleEntry::Beep;
    entry.waveFilePath = QStringLiteral("*.wav");
    return entry;
}
