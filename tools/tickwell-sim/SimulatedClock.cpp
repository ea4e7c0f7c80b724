#include "SimulatedClock.h"

#include "LocalTimeConversion.h"

#include <QDateTime>

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

} // namespace

void SimulatedClock::setEpochSeconds(std::int64_t seconds)
{
    m_seconds = seconds;
}

LocalTime SimulatedClock::now() const
{
    const std::int64_t minute = floorDiv(m_seconds, 60);
    if (minute != m_cachedMinute) {
        m_cached = toLocalTime(QDateTime::fromSecsSinceEpoch(minute * 60));
        m_cachedMinute = minute;
    }
    LocalTime reading = m_cached;
    reading.second = static_cast<int>(m_seconds - minute * 60);
    return reading;
}
