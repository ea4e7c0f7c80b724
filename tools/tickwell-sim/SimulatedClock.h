#pragma once

#include "Clock.h"

#include <cstdint>

// A clock set to whole seconds since the epoch and read as local time in the
// process's time zone. The local reading is worked out once a minute: every
// zone's offset changes only at whole minutes, so within a minute the local
// seconds follow the epoch seconds.
class SimulatedClock final : public Clock
{
public:
    void setEpochSeconds(std::int64_t seconds);
    std::int64_t epochSeconds() const { return m_seconds; }

    LocalTime now() const override;
    std::int64_t epochMilliseconds() const override { return m_seconds * 1000; }

private:
    std::int64_t m_seconds = 0;
    mutable std::int64_t m_cachedMinute = INT64_MIN;
    mutable LocalTime m_cached;
};
