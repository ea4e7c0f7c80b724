#pragma once

#include "ScheduleEntry.h"

#include <array>

// Exactly ten schedules, index 0..9; the user and the store see numbers 1..10.
class ScheduleTable
{
public:
    static constexpr int kSize = 10;

    ScheduleEntry &operator[](int index);
    const ScheduleEntry &operator[](int index) const;

    auto begin() { return m_entries.begin(); }
    auto end() { return m_entries.end(); }
    auto begin() const { return m_entries.begin(); }
    auto end() const { return m_entries.end(); }

    friend bool operator==(const ScheduleTable &, const ScheduleTable &) = default;

private:
    std::array<ScheduleEntry, kSize> m_entries;
};

// "Schedule1".."Schedule10" for index 0..9.
QString sectionName(int index);
