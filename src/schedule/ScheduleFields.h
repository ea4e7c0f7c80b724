#pragma once

#include "ScheduleEntry.h"

#include <array>

// The 29 fields of a ScheduleEntry in field order, each with its key name.
// (A schedule section of the store lists them in an order of its own.)
// Exactly one of intField and textField is set.
struct ScheduleField
{
    const char *key;
    int ScheduleEntry::*intField;
    QString ScheduleEntry::*textField;
};

inline constexpr std::size_t kScheduleFieldCount = 29;

constexpr ScheduleField numberField(const char *key, int ScheduleEntry::*field)
{
    return {key, field, nullptr};
}

constexpr ScheduleField textField(const char *key, QString ScheduleEntry::*field)
{
    return {key, nullptr, field};
}

const std::array<ScheduleField, kScheduleFieldCount> &scheduleFields();
