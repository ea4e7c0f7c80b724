#pragma once

#include "Clock.h"

// The machine's local clock.
//
// Benchmark builds (TICKWELL_CLOCK_OFFSET_HOOK) add the whole seconds of the
// environment variable TICKWELL_CLOCK_OFFSET_SECONDS, so that a due minute
// can be made to begin a few seconds after start. Other builds ignore it.
class SystemClock final : public Clock
{
public:
    SystemClock();

    LocalTime now() const override;
    std::int64_t epochMilliseconds() const override;

private:
    std::int64_t m_offsetMilliseconds = 0;
};
