#pragma once

#include "Clock.h"

#include <QDateTime>

// A clock that shows whatever local time it was last set to. Used by the tests
// and by the simulator, which advance it themselves.
class ManualClock final : public Clock
{
public:
    ManualClock();
    explicit ManualClock(const QDateTime &start);

    LocalTime now() const override;
    std::int64_t epochMilliseconds() const override;

    QDateTime dateTime() const;
    void set(const QDateTime &dateTime);
    // Sets a local date and time; the seconds default to 0.
    void set(int year, int month, int day, int hour, int minute, int second = 0);
    void advanceSeconds(qint64 seconds);
    void advanceMilliseconds(qint64 milliseconds);

private:
    QDateTime m_now;
};
