#pragma once

#include "LocalTime.h"

#include <cstdint>

class ScheduleTable;
struct ScheduleEntry;

// Date arithmetic on plain integers of the Gregorian calendar. Months are
// 1..12, weekdays 0 (Sunday)..6. The rules that depend on "now" take one
// clock reading, so every rule of one tick sees the same minute.

// 28 or 29.
int DaysInFebruary(int year);

// 28..31; a month outside 1..12 counts as 31 days.
int DaysInMonth(int month, int year);

// day plus the days of the months before month; the day is not checked
// against the length of its month. Month 1 or less gives day itself.
int DayOfYear(int day, int month, int year);

// Days from 1970-01-01 to the given date (negative before it).
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);

// 1 if hour:minute is strictly later than the current minute, else 0.
int IsTimeAhead(int hour, int minute, const LocalTime &now);

// Day of the year (in the current year's numbering) of the next date a weekly
// entry set to hour:minute is due on weekday; today counts only while the set
// time is still ahead. The result lies between today and today + 7.
int NextDateOfWeekday(int weekday, int hour, int minute, const LocalTime &now);

// Moves a monthly timing to the month after the current one: in December to
// January of the next year; otherwise only the month changes, and the caller
// has set the year to the current one beforehand.
void SetNextMonthTiming(int &year, int &month, const LocalTime &now);

// 1 while this month's occurrence of a monthly entry is still to come. A day
// the month lacks falls on its last day.
int IsMonthlyOccurrenceAhead(int dayOfMonth, int hour, int minute, const LocalTime &now);

// Points the entry's timing at the month of its next occurrence, starting
// from the given month (the current one) of the current year.
void UpdateMonthlyTiming(ScheduleEntry &entry, int month, const LocalTime &now);

// Brings thisYear and every weekly day number of the table into the numbering
// of year. Each day number is shifted by the days between 1 January of the two
// years, so it keeps naming the same date whichever way and however far the
// year moved. Values that would leave the 32-bit range stop at its ends.
void RollOverYear(ScheduleTable &table, int &thisYear, int year);
