#pragma once

#include "LocalTime.h"

#include <cstdint>

// Where "now" comes from. The program reads the system clock; tests and the
// simulator set the time themselves.
class Clock
{
public:
    virtual ~Clock() = default;

    // The current local time.
    virtual LocalTime now() const = 0;

    // Milliseconds since the epoch, for timer alignment and measurements.
    virtual std::int64_t epochMilliseconds() const = 0;
};
