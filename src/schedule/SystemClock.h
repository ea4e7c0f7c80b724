#pragma once

#include "Clock.h"

// The machine's local clock.
class SystemClock final : public Clock
{
public:
    LocalTime now() const override;
    std::int64_t epochMilliseconds() const override;
};
