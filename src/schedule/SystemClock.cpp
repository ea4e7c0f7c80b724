#include "SystemClock.h"

#include "LocalTimeConversion.h"

#include <QDateTime>

LocalTime SystemClock::now() const
{
    return toLocalTime(QDateTime::currentDateTime());
}

std::int64_t SystemClock::epochMilliseconds() const
{
    return QDateTime::currentMSecsSinceEpoch();
}
