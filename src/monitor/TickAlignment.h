#pragma once

#include <cstdint>

// How long to wait for the next tick so that it comes just after the next
// whole second of the wall clock. Computed afresh from every reading, so a
// timer that drifted, a resume from sleep or a clock that was set re-align
// at the next tick.
inline constexpr int kTickLagMilliseconds = 5;

int NextTickDelay(std::int64_t epochMilliseconds);
