#include "TickAlignment.h"

int NextTickDelay(std::int64_t epochMilliseconds)
{
    std::int64_t intoSecond = epochMilliseconds % 1000;
    if (intoSecond < 0)
        intoSecond += 1000;
    return static_cast<int>(1000 - intoSecond) + kTickLagMilliseconds;
}
