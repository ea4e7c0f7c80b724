#pragma once

// One reading of the local wall clock, as plain integers.
struct LocalTime
{
    int year = 0;    // four digits
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..59
    int weekday = 0; // 0 Sunday .. 6 Saturday

    friend bool operator==(const LocalTime &, const LocalTime &) = default;
};
