#include "TickAlignment.h"

int NextTickDelay(std::int64_t epochMilliseconds)
{
    std::int64_t intoSecond = epochMilliseconds % 1000;
    if (intoSecond < 0)
        intoSecond += 1000;
    return static_cast<int>(1000 - intoSecond) + kTickLagMilliseconds;
}

std::int64_t NextMinuteTick(std::int64_t epochMilliseconds)
{
    std::int64_t intoMinute = epochMilliseconds % 60000;
    if (intoMinute < 0)
        intoMinute += 60000;
    return epochMilliseconds - intoMinute + 60000;
}
