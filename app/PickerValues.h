#pragma once
// Conversions between the pickers' dates and times and the program's day counts (days since
// 1899-12-30, the time of day as the fraction).

#include <QDate>
#include <QTime>

#include <optional>

namespace velkor {

// The date of a day count, kept within [minimum, maximum]: a day count beyond the range (the
// computed end of logging may lie thousands of years ahead) gives the nearest end of it.
// Nothing for a value that is not a number or infinite.
std::optional<QDate> DateFromDayCount(double dayCount, QDate minimum, QDate maximum);

// The time of day of a day count, to the millisecond. Nothing for a value that is not a
// number or infinite.
std::optional<QTime> TimeFromDayCount(double dayCount);

// Whole days of a valid date (0.0 for an invalid one).
double DayCountFromDate(QDate date);
// The fraction of the day of a valid time (0.0 for an invalid one).
double DayCountFromTime(QTime time);

} // namespace velkor
