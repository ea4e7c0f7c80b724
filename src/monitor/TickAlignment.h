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

// The next whole minute, in milliseconds since the epoch: the moment of the
// next tick that waits for it, on a timer that never expires early (the
// wall-clock timer). Local minutes begin with the epoch's, as every zone's
// offset from UTC is whole minutes.
std::int64_t NextMinuteTick(std::int64_t epochMilliseconds);
