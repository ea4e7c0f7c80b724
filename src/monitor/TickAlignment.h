#pragma once

#include <cstdint>

// How long to wait for the next tick so that it comes just after the next
// whole second of the wall clock. Computed afresh from every reading, so a
// timer that drifted, a resume from sleep or a clock that was set re-align
// at the next tick. A tick that still comes a little before the whole second
// (a clock being slewed) is harmless: it finds the old minute, and the next
// one follows a millisecond after the second.
inline constexpr int kTickLagMilliseconds = 1;

int NextTickDelay(std::int64_t epochMilliseconds);
