#include "platform/DateTime.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace velkor {

namespace {

// Days from 0001-01-01 to 1899-12-30 in the proleptic Gregorian calendar.
constexpr int DateDelta = 693594;

int DaysBeforeYear(int year) {
    const int y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

} // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, double& result) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month))
        return false;
    int days = DaysBeforeYear(year);
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    days += day;
    result = static_cast<double>(days - DateDelta);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, double& result) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999)
        return false;
    const long long ms = ((hour * 60LL + minute) * 60LL + second) * 1000LL + millisecond;
    result = static_cast<double>(ms) / 86400000.0;
    return true;
}

bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                       int millisecond, double& result) {
    double date = 0, time = 0;
    if (!TryEncodeDate(year, month, day, date) ||
        !TryEncodeTime(hour, minute, second, millisecond, time))
        return false;
    result = date < 0 ? date - time : date + time;
    return true;
}

DateParts DecodeDate(double dateTime) {
    DateParts p;
    if (!std::isfinite(dateTime))
        return p;
    const double whole = std::trunc(dateTime);
    if (whole < 1 - DateDelta || whole > 2958465.0)
        return p;
    int n = static_cast<int>(whole) + DateDelta - 1; // days since 0001-01-01
    int year = 1 + n / 146097 * 400;
    n %= 146097;
    int c = n / 36524;
    if (c == 4)
        c = 3;
    year += c * 100;
    n -= c * 36524;
    year += n / 1461 * 4;
    n %= 1461;
    int y = n / 365;
    if (y == 4)
        y = 3;
    year += y;
    n -= y * 365;
    int month = 1;
    while (n >= DaysInMonth(year, month)) {
        n -= DaysInMonth(year, month);
        ++month;
    }
    p.year = year;
    p.month = month;
    p.day = n + 1;
    return p;
}

TimeParts DecodeTime(double dateTime) {
    TimeParts t;
    if (!std::isfinite(dateTime))
        return t;
    long long ms = std::llround(TimeOf(dateTime) * 86400000.0);
    if (ms >= 86400000LL)
        ms = 86400000LL - 1;
    t.millisecond = static_cast<int>(ms % 1000);
    ms /= 1000;
    t.second = static_cast<int>(ms % 60);
    ms /= 60;
    t.minute = static_cast<int>(ms % 60);
    t.hour = static_cast<int>(ms / 60);
    return t;
}

double DateOf(double dateTime) {
    return std::trunc(dateTime);
}

double TimeOf(double dateTime) {
    return std::fabs(dateTime - std::trunc(dateTime));
}

double IncMonth(double dateTime, int months) {
    DateParts d = DecodeDate(dateTime);
    if (d.year == 0)
        return dateTime;
    long long total = static_cast<long long>(d.year) * 12 + (d.month - 1) + months;
    int year = static_cast<int>(total / 12);
    int month = static_cast<int>(total % 12) + 1;
    int day = d.day;
    if (day > DaysInMonth(year, month))
        day = DaysInMonth(year, month);
    double date = 0;
    if (!TryEncodeDate(year, month, day, date))
        return dateTime;
    const double time = TimeOf(dateTime);
    return date < 0 ? date - time : date + time;
}

std::string FormatDateTime(const std::string& pattern, double dateTime) {
    // A time of day that rounds up to a whole day shows as midnight of the next day.
    if (std::isfinite(dateTime) && std::llround(TimeOf(dateTime) * 86400000.0) >= 86400000LL)
        dateTime = dateTime < 0 ? DateOf(dateTime) - 1.0 : DateOf(dateTime) + 1.0;
    const DateParts d = DecodeDate(dateTime);
    if (d.year == 0)
        return {};
    const TimeParts t = DecodeTime(dateTime);
    const DateTimeFormats& f = ProcessDateTimeFormats();
    std::string out;
    char buf[16];
    auto put = [&](int value, int width) {
        std::snprintf(buf, sizeof buf, "%0*d", width, value);
        out += buf;
    };
    bool lastWasHour = false;
    const std::size_t n = pattern.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = pattern[i];
        const char lc = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::size_t run = 1;
        while (i + run < n && std::tolower(static_cast<unsigned char>(pattern[i + run])) == lc &&
               std::isalpha(static_cast<unsigned char>(c)))
            ++run;
        bool hour = false;
        switch (lc) {
        case 'y':
            if (run >= 3)
                put(d.year, 4);
            else
                put(d.year % 100, 2);
            break;
        case 'm':
            if (lastWasHour)
                put(t.minute, run >= 2 ? 2 : 1);
            else
                put(d.month, run >= 2 ? 2 : 1);
            run = std::min<std::size_t>(run, 2);
            break;
        case 'd':
            put(d.day, run >= 2 ? 2 : 1);
            run = std::min<std::size_t>(run, 2);
            break;
        case 'h':
            put(t.hour, run >= 2 ? 2 : 1);
            run = std::min<std::size_t>(run, 2);
            hour = true;
            break;
        case 'n':
            put(t.minute, run >= 2 ? 2 : 1);
            run = std::min<std::size_t>(run, 2);
            break;
        case 's':
            put(t.second, run >= 2 ? 2 : 1);
            run = std::min<std::size_t>(run, 2);
            break;
        case 'z':
            put(t.millisecond, run >= 3 ? 3 : 1);
            run = std::min<std::size_t>(run, 3);
            break;
        case '/':
            out += f.dateSeparator;
            break;
        case ':':
            out += f.timeSeparator;
            break;
        case '\'':
        case '"': {
            std::size_t end = pattern.find(c, i + 1);
            if (end == std::string::npos)
                end = n;
            out.append(pattern, i + 1, end - i - 1);
            run = end - i + (end < n ? 1 : 0);
            break;
        }
        default:
            out.append(pattern, i, run);
            break;
        }
        if (std::isalpha(static_cast<unsigned char>(c)))
            lastWasHour = hour;
        i += run;
    }
    return out;
}

DateTimeFormats& ProcessDateTimeFormats() {
    static DateTimeFormats formats;
    return formats;
}

void UseLoggerDateTimeFormats() {
    DateTimeFormats& f = ProcessDateTimeFormats();
    f.shortDate = "yyyy-MM-dd";
    f.shortTime = "HH:nn:ss";
}

} // namespace velkor
