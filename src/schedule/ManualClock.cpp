#include "ManualClock.h"

#include "LocalTimeConversion.h"

ManualClock::ManualClock()
    : m_now(QDate(2000, 1, 1), QTime(0, 0))
{
}

ManualClock::ManualClock(const QDateTime &start)
    : m_now(start)
{
}

LocalTime ManualClock::now() const
{
    return toLocalTime(m_now);
}

std::int64_t ManualClock::epochMilliseconds() const
{
    return m_now.toMSecsSinceEpoch();
}

QDateTime ManualClock::dateTime() const
{
    return m_now;
}

void ManualClock::set(const QDateTime &dateTime)
{
    m_now = dateTime;
}

void ManualClock::set(int year, int month, int day, int hour, int minute, int second)
{
    m_now = QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

void ManualClock::advanceSeconds(qint64 seconds)
{
    m_now = m_now.addSecs(seconds);
}

void ManualClock::advanceMilliseconds(qint64 milliseconds)
{
    m_now = m_now.addMSecs(milliseconds);
}
