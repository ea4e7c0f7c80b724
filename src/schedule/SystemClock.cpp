#include "SystemClock.h"

#include "LocalTimeConversion.h"

#include <QDateTime>

SystemClock::SystemClock()
{
#ifdef TICKWELL_CLOCK_OFFSET_HOOK
    m_offsetMilliseconds = qEnvironmentVariableIntValue("TICKWELL_CLOCK_OFFSET_SECONDS") * std::int64_t{1000};
#endif
}

LocalTime SystemClock::now() const
{
    return toLocalTime(QDateTime::fromMSecsSinceEpoch(epochMilliseconds()));
}

std::int64_t SystemClock::epochMilliseconds() const
{
    return QDateTime::currentMSecsSinceEpoch() + m_offsetMilliseconds;
}
