#include "ScheduleFields.h"

const std::array<ScheduleField, kScheduleFieldCount> &scheduleFields()
{
    using E = ScheduleEntry;
    static const std::array<ScheduleField, kScheduleFieldCount> fields = {
        numberField("valid", &E::valid),
        numberField("kind", &E::kind),
        numberField("htime", &E::htime),
        numberField("mtime", &E::mtime),
        textField("msg", &E::msg),
        numberField("bAfterAction", &E::bAfterAction),
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
        numberField("timingOfYear", &E::timingOfYear),
        numberField("timingOfMonth", &E::timingOfMonth),
        numberField("timingOfWeek", &E::timingOfWeek),
        numberField("OnceActionYear", &E::OnceActionYear),
        numberField("OnceActionMonth", &E::OnceActionMonth),
        numberField("OnceActionDay", &E::OnceActionDay),
        numberField("sound", &E::sound),
        textField("waveFilePath", &E::waveFilePath),
    };
    return fields;
}
