#pragma once

#include "LocalTime.h"

class QDateTime;

// Splits a date-time into the integers of a LocalTime (weekday 0 = Sunday).
LocalTime toLocalTime(const QDateTime &dateTime);
