#include "ScheduleTable.h"

#include <cassert>

ScheduleEntry &ScheduleTable::operator[](int index)
{
    assert(index >= 0 && index < kSize);
    return m_entries[static_cast<std::size_t>(index)];
}

const ScheduleEntry &ScheduleTable::operator[](int index) const
{
    assert(index >= 0 && index < kSize);
    return m_entries[static_cast<std::size_t>(index)];
}

QString sectionName(int index)
{
    return QStringLiteral("Schedule%1").arg(index + 1);
}
