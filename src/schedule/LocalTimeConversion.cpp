#include "LocalTimeConversion.h"

#include <QDateTime>

LocalTime toLocalTime(const QDateTime &dateTime)
{
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    LocalTime t;
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    t.hour = time.hour();
    t.minute = time.minute();
    t.second = time.second();
    t.weekday = date.dayOfWeek() % 7; // Qt counts Monday 1 .. Sunday 7
    return t;
}
