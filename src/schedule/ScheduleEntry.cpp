#include "ScheduleEntry.h"

#include <array>
#include <cassert>

namespace {

constexpr std::array<int ScheduleEntry::*, 7> kFlags = {
    &ScheduleEntry::Sun,
    &ScheduleEntry::Mon,
    &ScheduleEntry::TUE,
    &ScheduleEntry::WED,
    &ScheduleEntry::THU,
    &ScheduleEntry::FRI,
    &ScheduleEntry::SAT,
};

constexpr std::array<int ScheduleEntry::*, 7> kNextDays = {
    &ScheduleEntry::Next_Sun,
    &ScheduleEntry::Next_Mon,
    &ScheduleEntry::Next_TUE,
    &ScheduleEntry::Next_WED,
    &ScheduleEntry::Next_THU,
    &ScheduleEntry::Next_FRI,
    &ScheduleEntry::Next_SAT,
};

} // namespace

int &ScheduleEntry::weekdayFlag(int weekday)
{
    assert(weekday >= 0 && weekday < 7);
    return this->*kFlags[static_cast<std::size_t>(weekday)];
}

int ScheduleEntry::weekdayFlag(int weekday) const
{
    assert(weekday >= 0 && weekday < 7);
    return this->*kFlags[static_cast<std::size_t>(weekday)];
}

int &ScheduleEntry::nextDay(int weekday)
{
    assert(weekday >= 0 && weekday < 7);
    return this->*kNextDays[static_cast<std::size_t>(weekday)];
}

int ScheduleEntry::nextDay(int weekday) const
{
    assert(weekday >= 0 && weekday < 7);
    return this->*kNextDays[static_cast<std::size_t>(weekday)];
}
