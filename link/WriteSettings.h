#pragma once
// Save settings and Set clock: what the pickers hold goes to the logger as I!, R!, S! and as
// T!, D!. Nothing is read back; the logger's answers, if any, stay queued.
//
// Picker values are date-times (day counts); each function takes from a picker only the part
// it needs: the time of day of a time picker, the date of a date picker.

#include "link/LoggerSettings.h"
#include "link/SerialLink.h"
#include "platform/Pause.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace velkor {

// Added to the sample count so that its text always has eight digits.
constexpr double SampleCountOffset = 10000000.0;
// The largest sample count written, and the offset count it is clamped at.
constexpr std::uint32_t MaxSampleCount = 204800;
constexpr double MaxOffsetSampleCount = 10204800.0;
// Wait after every command sent.
constexpr int CommandPauseMilliseconds = 100;

// The date of datePicker at the time of day of timePicker. This is also the value the window
// may give the time picker ("its date part set to the date picker's date"). Raises ConvertError
// for a date outside years 1..9999.
double CombineDateAndTime(double datePicker, double timePicker);

// The seven digits of S! for logging from loggingStart to loggingEnd every interval: the count
// (end - start) / interval + 10,000,000 in floating point, clamped at 10,204,800, rounded to a
// whole number with a half going up, without its leading "1". An end earlier than the start by
// more than half an interval gives "0000000". Raises MathError "Floating point division by
// zero" when interval is 0, or "Invalid floating point operation" when the end equals the start
// too.
std::string SampleCountDigits(double loggingStart, double loggingEnd, double interval);

// What keeps the pickers' settings from being written.
enum class SettingsProblem { None, ZeroInterval, EndBeforeStart, EndTooSoon };

// Checked before anything is sent: an interval of 00:00:00; a logging end (end date + end
// time) earlier than the start (start date + start time); an end less than one interval after
// the start (the end equal to the start included), which would tell the logger to record no
// sample.
SettingsProblem CheckSettings(double intervalPicker, double startDatePicker, double startTimePicker,
                              double endDatePicker, double endTimePicker);

// Raised by SaveSettings, with nothing sent and nothing set, when CheckSettings fails.
class SettingsError : public std::runtime_error {
public:
    explicit SettingsError(SettingsProblem problem);
    SettingsProblem Problem() const { return problem_; }

private:
    SettingsProblem problem_;
};

// What Save settings told the logger.
struct SavedSettings {
    std::uint32_t sampleCount = 0;
    // The count asked for was more than the logger stores and was cut to MaxSampleCount:
    // logging then ends at cappedEnd (start + MaxSampleCount x interval), before the end asked
    // for.
    bool capped = false;
    double cappedEnd = 0.0;
};

// Save settings: sets the process-wide date and time formats; checks the pickers
// (CheckSettings: SettingsError with nothing sent and nothing set); then Interval := the
// picker's time of day, I!; LoggingStart := start date + start time, R!; LoggingEnd := end
// date + end time; SampleCount := the count of SampleCountDigits, S!. 100 ms after each
// command. A picker whose date does not convert raises ConvertError before anything is sent.
SavedSettings SaveSettings(SerialLink& link, Pause& pause, LoggerSettings& settings,
                           double intervalPicker, double startDatePicker, double startTimePicker,
                           double endDatePicker, double endTimePicker);

// Set clock: sets the process-wide date and time formats; ClockTime := the time of day of
// timePicker, T!; ClockDate := the date of datePicker, D!. 100 ms after each command.
void SetClock(SerialLink& link, Pause& pause, LoggerSettings& settings, double timePicker,
              double datePicker);

} // namespace velkor
