#pragma once

#include "LocalTime.h"

#include <QDate>

// The date of a one-time schedule against the current minute. Dates compare
// by year, then month, then day; a date the calendar cannot hold (invalid)
// counts as long past.

// true when date at hour:minute is not after the current minute.
bool IsPastOnceMoment(const QDate &date, int hour, int minute, const LocalTime &now);

// The date a one-time schedule's calendar shows: today when date is today or
// earlier, otherwise date itself.
QDate ClampedOnceDate(const QDate &date, const LocalTime &now);
