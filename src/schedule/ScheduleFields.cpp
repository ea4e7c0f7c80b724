#include "ScheduleFields.h"

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

const std::array<ScheduleField, kScheduleFieldCount> &scheduleFields()
{
    using E = ScheduleEntry;
    static const std::array<ScheduleField, kScheduleFieldCount> fields = {
        number("valid", &E::valid),
        number("kind", &E::kind),
        number("htime", &E::htime),
        number("mtime", &E::mtime),
        text("msg", &E::msg),
        number("bAfterAction", &E::bAfterAction),
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
        number("timingOfYear", &E::timingOfYear),
        number("timingOfMonth", &E::timingOfMonth),
        number("timingOfWeek", &E::timingOfWeek),
        number("OnceActionYear", &E::OnceActionYear),
        number("OnceActionMonth", &E::OnceActionMonth),
        number("OnceActionDay", &E::OnceActionDay),
        number("sound", &E::sound),
        text("waveFilePath", &E::waveFilePath),
    };
    return fields;
}
