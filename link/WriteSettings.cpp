#include "link/WriteSettings.h"

#include "link/Commands.h"
#include "link/Connect.h"
#include "platform/DateTime.h"
#include "platform/Errors.h"

#include <cmath>
#include <cstdio>

namespace velkor {

namespace {

// The time of day of a picker, kept to the millisecond; its date part is dropped.
double TimeOfPicker(double picker, TimeParts& parts) {
    parts = DecodeTime(picker);
    double time = 0;
    TryEncodeTime(parts.hour, parts.minute, parts.second, parts.millisecond, time);
    return time;
}

double DateOfPicker(double picker, DateParts& parts) {
    parts = DecodeDate(picker);
    double date = 0;
    if (!TryEncodeDate(parts.year, parts.month, parts.day, date))
        throw ConvertError("Invalid argument to date encode");
    return date;
}

void Send(SerialLink& link, Pause& pause, const std::string& command) {
    link.SetCommand(command);
    link.SendCommand();
    pause.sleep(CommandPauseMilliseconds);
}

} // namespace

double CombineDateAndTime(double datePicker, double timePicker) {
    DateParts d;
    TimeParts t;
    DateOfPicker(datePicker, d);
    TimeOfPicker(timePicker, t);
    double result = 0;
    if (!TryEncodeDateTime(d.year, d.month, d.day, t.hour, t.minute, t.second, t.millisecond,
                           result))
        throw ConvertError("Invalid argument to date encode");
    return result;
}

std::string SampleCountDigits(double loggingStart, double loggingEnd, double interval) {
    const double span = loggingEnd - loggingStart;
    if (interval == 0.0)
        throw MathError(span == 0.0 ? "Invalid floating point operation"
                                    : "Floating point division by zero");
    double x = span / interval + SampleCountOffset;
    if (x > MaxOffsetSampleCount)
        x = MaxOffsetSampleCount;
    // std::round takes a half away from zero, as the eight-digit text does.
    const double rounded = std::round(x);
    // A negative count has no command; the logger is told to record nothing instead.
    if (!(rounded >= SampleCountOffset))
        return "0000000";
    char digits[16];
    std::snprintf(digits, sizeof digits, "%07u",
                  static_cast<unsigned>(rounded - SampleCountOffset));
    return digits;
}

namespace {

const char* ProblemText(SettingsProblem problem) {
    switch (problem) {
    case SettingsProblem::ZeroInterval:
        return "The measurement interval must be longer than zero";
    case SettingsProblem::EndTooSoon:
        return "The logging end must lie at least one interval after its start";
    case SettingsProblem::EndBeforeStart:
    case SettingsProblem::None:
        break;
    }
    return "The logging end is earlier than its start";
}

// A date-time in whole milliseconds, so that an end exactly one interval after the start is
// not taken for a hair less.
long long Milliseconds(double dateTime) {
    return std::llround(dateTime * SecondsPerDay * 1000.0);
}

} // namespace

SettingsError::SettingsError(SettingsProblem problem)
    : std::runtime_error(ProblemText(problem)), problem_(problem) {}

SettingsProblem CheckSettings(double intervalPicker, double startDatePicker, double startTimePicker,
                              double endDatePicker, double endTimePicker) {
    TimeParts it;
    TimeOfPicker(intervalPicker, it);
    // I! carries whole seconds: anything below one second is an interval of 00:00:00.
    if (it.hour == 0 && it.minute == 0 && it.second == 0)
        return SettingsProblem::ZeroInterval;
    const double start = CombineDateAndTime(startDatePicker, startTimePicker);
    const double end = CombineDateAndTime(endDatePicker, endTimePicker);
    if (end < start)
        return SettingsProblem::EndBeforeStart;
    if (Milliseconds(end) - Milliseconds(start) < Milliseconds(TimeOfPicker(intervalPicker, it)))
        return SettingsProblem::EndTooSoon;
    return SettingsProblem::None;
}

SavedSettings SaveSettings(SerialLink& link, Pause& pause, LoggerSettings& settings,
                           double intervalPicker, double startDatePicker, double startTimePicker,
                           double endDatePicker, double endTimePicker) {
    UseLoggerDateTimeFormats();
    const SettingsProblem problem = CheckSettings(intervalPicker, startDatePicker, startTimePicker,
                                                  endDatePicker, endTimePicker);
    if (problem != SettingsProblem::None)
        throw SettingsError(problem);

    // Everything is worked out before the first command goes out, so that a failure leaves
    // the logger as it was instead of half configured.
    TimeParts it;
    const double interval = TimeOfPicker(intervalPicker, it);
    DateParts sd;
    TimeParts st;
    DateOfPicker(startDatePicker, sd);
    TimeOfPicker(startTimePicker, st);
    const double loggingStart = CombineDateAndTime(startDatePicker, startTimePicker);
    // The logger learns the end only through the sample count.
    const double loggingEnd = CombineDateAndTime(endDatePicker, endTimePicker);
    const std::string digits = SampleCountDigits(loggingStart, loggingEnd, interval);

    settings.Interval = interval;
    Send(link, pause, cmd::SetInterval(it.hour, it.minute, it.second));
    settings.LoggingStart = loggingStart;
    Send(link, pause,
         cmd::SetLoggingStart(st.hour, st.minute, st.second, sd.day, sd.month, sd.year));
    settings.LoggingEnd = loggingEnd;
    settings.SampleCount = static_cast<std::uint32_t>(StrToInt(digits));
    Send(link, pause, cmd::SetSampleCount(digits));

    SavedSettings saved;
    saved.sampleCount = settings.SampleCount;
    // The count before it was clamped, rounded as the digits are.
    saved.capped = std::round((loggingEnd - loggingStart) / interval) > MaxSampleCount;
    if (saved.capped)
        saved.cappedEnd = LoggingEndOf(MaxSampleCount, interval, loggingStart);
    return saved;
}

void SetClock(SerialLink& link, Pause& pause, LoggerSettings& settings, double timePicker,
              double datePicker) {
    UseLoggerDateTimeFormats();

    TimeParts t;
    settings.ClockTime = TimeOfPicker(timePicker, t);
    Send(link, pause, cmd::SetClockTime(t.hour, t.minute, t.second));

    DateParts d;
    settings.ClockDate = DateOfPicker(datePicker, d);
    Send(link, pause, cmd::SetClockDate(d.day, d.month, d.year));
}

} // namespace velkor
