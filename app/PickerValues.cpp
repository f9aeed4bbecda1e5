#include "app/PickerValues.h"

#include "platform/DateTime.h"

#include <cmath>

namespace velkor {

std::optional<QDate> DateFromDayCount(double dayCount, QDate minimum, QDate maximum) {
    if (!std::isfinite(dayCount))
        return std::nullopt;
    const double days = DateOf(dayCount);
    if (days < DayCountFromDate(minimum))
        return minimum;
    if (days > DayCountFromDate(maximum))
        return maximum;
    const DateParts parts = DecodeDate(days);
    return QDate(parts.year, parts.month, parts.day);
}

std::optional<QTime> TimeFromDayCount(double dayCount) {
    if (!std::isfinite(dayCount))
        return std::nullopt;
    const TimeParts parts = DecodeTime(dayCount);
    return QTime(parts.hour, parts.minute, parts.second, parts.millisecond);
}

double DayCountFromDate(QDate date) {
    double result = 0.0;
    if (!date.isValid() || !TryEncodeDate(date.year(), date.month(), date.day(), result))
        return 0.0;
    return result;
}

double DayCountFromTime(QTime time) {
    double result = 0.0;
    if (!time.isValid() ||
        !TryEncodeTime(time.hour(), time.minute(), time.second(), time.msec(), result))
        return 0.0;
    return result;
}

} // namespace velkor
