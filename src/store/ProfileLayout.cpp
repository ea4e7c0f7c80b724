#include "ProfileLayout.h"

namespace {

constexpr ScheduleField number(const char *key, int ScheduleEntry::*field)
{
    return {key, field, nullptr};
}

constexpr ScheduleField text(const char *key, QString ScheduleEntry::*field)
{
    return {key, nullptr, field};
}

} // namespace

const std::array<ScheduleField, kScheduleFieldCount> &profileKeys()
{
    using E = ScheduleEntry;
    static const std::array<ScheduleField, kScheduleFieldCount> keys = {
        number("valid", &E::valid),
        number("kind", &E::kind),
        number("htime", &E::htime),
        number("mtime", &E::mtime),
        number("bAfterAction", &E::bAfterAction),
        text("msg", &E::msg),
        number("Sun", &E::Sun),
        number("Mon", &E::Mon),
        number("TUE", &E::TUE),
        number("WED", &E::WED),
        number("THU", &E::THU),
        number("FRI", &E::FRI),
        number("SAT", &E::SAT),
        number("Next_Sun", &E::Next_Sun),
        number("Next_Mon", &E::Next_Mon),
        number("Next_TUE", &E::Next_TUE),
        number("Next_WED", &E::Next_WED),
        number("Next_THU", &E::Next_THU),
        number("Next_FRI", &E::Next_FRI),
        number("Next_SAT", &E::Next_SAT),
        number("dayOfMonth", &E::dayOfMonth),
        number("OnceActionYear", &E::OnceActionYear),
        number("OnceActionMonth", &E::OnceActionMonth),
        number("OnceActionDay", &E::OnceActionDay),
        number("timingOfWeek", &E::timingOfWeek),
        number("timingOfMonth", &E::timingOfMonth),
        number("timingOfYear", &E::timingOfYear),
        number("sound", &E::sound),
        text("waveFilePath", &E::waveFilePath),
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
