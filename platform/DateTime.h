#pragma once
// Date-times are day counts since 1899-12-30 as doubles: the whole part is the day, the
// fraction the time of day (one second is 1/86400). Negative values count days before that
// date; their fraction is still the time of day (-1.25 is 1899-12-29 06:00).

#include <string>

namespace velkor {

constexpr double SecondsPerDay = 86400.0;
constexpr double OneSecond = 1.0 / 86400.0;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Valid: year 1..9999, month 1..12, day 1..days of that month.
bool TryEncodeDate(int year, int month, int day, double& result);
// Valid: hour 0..23, minute 0..59, second 0..59, millisecond 0..999.
bool TryEncodeTime(int hour, int minute, int second, int millisecond, double& result);
// Both of the above; the date-time is date + time.
bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                       int millisecond, double& result);

struct DateParts {
    int year = 0, month = 0, day = 0;
};
struct TimeParts {
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// The date part is the day count truncated toward zero. Values outside years 1..9999 give
// all zeros.
DateParts DecodeDate(double dateTime);
// The time of day, rounded to the millisecond. A fraction that rounds up to a whole day
// gives 23:59:59.999.
TimeParts DecodeTime(double dateTime);

double DateOf(double dateTime); // the whole days
double TimeOf(double dateTime); // the time of day, always >= 0

// Adds months keeping the day of month where it exists (31 Jan + 1 month = 28/29 Feb).
double IncMonth(double dateTime, int months);

// Formats with the classic date-time patterns: yyyy yy, m mm (month, or minute right after an
// hour), d dd, h hh, n nn, s ss, z zzz, "/" date separator, ":" time separator, text in single
// or double quotes copied as it stands; other characters as they stand. Values before
// 0001-01-01 or after 9999-12-31 give an empty text.
std::string FormatDateTime(const std::string& pattern, double dateTime);

// The process-wide short date and time formats. Every handler that converts or shows dates
// sets them first to "yyyy-MM-dd" and "HH:nn:ss".
struct DateTimeFormats {
    std::string shortDate = "yyyy-MM-dd";
    std::string shortTime = "HH:nn:ss";
    char dateSeparator = '-';
    char timeSeparator = ':';
};
DateTimeFormats& ProcessDateTimeFormats();
void UseLoggerDateTimeFormats();

} // namespace velkor
