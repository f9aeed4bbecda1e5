#pragma once
// The summary of a series of measurements: what a report, the window's analysis and
// `velkor-cli summary` show. Times are day counts since 1899-12-30 (platform/DateTime.h),
// temperatures °C, humidity %RH, durations whole seconds.
//
// The accounting: samples are sorted by time; of samples with equal times (to the second) the
// first is kept. The interval is the lower median of the non-zero spacings; a spacing over 1.5
// intervals is a gap. Each reading stands for one interval, so the time beyond a limit or a
// threshold is the count of readings beyond it times the interval.

#include "analysis/Rules.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velkor::analysis {

struct Sample {
    double time = 0;
    double celsius = 0;
    double humidity = 0;
};

// Universal gas constant in kJ/(K·mol) and the default activation energy of USP <1160>.
constexpr double GasConstant = 8.3144e-3;
constexpr double DefaultDeltaH = 83.144;

struct Options {
    Profile profile;
    double deltaH = DefaultDeltaH; // kJ/mol
    std::optional<double> from;    // inclusive
    std::optional<double> to;      // inclusive
    bool humidity = true;          // false: no humidity and no dew point at all
};

// One quantity. Empty when count is 0; sd needs two values (sample standard deviation).
struct Statistics {
    std::size_t count = 0;
    double min = 0, minTime = 0; // the first time the minimum occurs
    double max = 0, maxTime = 0;
    double mean = 0;
    std::optional<double> sd;
};

struct Gap {
    double after = 0;  // the last reading before the gap
    double before = 0; // the first reading after it
    std::int64_t missingSeconds = 0;
};

struct Excursion {
    double start = 0; // first reading beyond the range
    double end = 0;   // last one
    std::int64_t durationSeconds = 0;
    Side side = Side::Above;
    double extreme = 0; // the max above, the min below
};

struct LimitResult {
    Range range;
    std::int64_t timeBelowSeconds = 0;
    std::int64_t timeAboveSeconds = 0;
    std::vector<Excursion> excursions;
};

struct AlarmResult {
    AlarmRule rule;
    bool triggered = false;
    std::optional<double> at;     // the reading at which it fired
    std::int64_t timeSeconds = 0; // total time at or beyond the threshold
};

// One calendar day of the readings (the report's daily table).
struct DaySummary {
    double day = 0; // the day's midnight
    Statistics temperature;
    Statistics humidity;               // count 0 without humidity
    std::int64_t timeBelowSeconds = 0; // of the temperature limits; 0 without limits
    std::int64_t timeAboveSeconds = 0;
};

struct Summary {
    std::size_t samples = 0; // kept, after the period and the duplicates
    std::size_t duplicates = 0;
    double first = 0, last = 0;
    std::int64_t intervalSeconds = 0; // 0 with fewer than two distinct times
    std::vector<Gap> gaps;
    Statistics temperature;
    std::optional<double> mkt;
    double deltaH = DefaultDeltaH;
    bool hasHumidity = false; // asked for, and some humidity reading is not 0.0
    Statistics humidity;
    Statistics dewPoint;
    std::optional<LimitResult> limits;
    std::optional<LimitResult> humidityLimits;
    std::vector<AlarmResult> alarms;
    std::vector<DaySummary> days;
};

// Summarises samples in any order.
Summary Summarize(std::vector<Sample> samples, const Options& options);
// The same for samples already sorted by time (equal times may follow each other).
Summary SummarizeSorted(std::span<const Sample> samples, const Options& options);

// Mean kinetic temperature in °C; nothing for no readings.
std::optional<double> MeanKineticTemperature(std::span<const double> celsius, double deltaH);
// Magnus over water (Sonntag 1990); nothing for a humidity <= 0.
std::optional<double> DewPoint(double celsius, double humidity);

double ToFahrenheit(double celsius);
// The statistics of a temperature in °F (the sd scales, it does not shift).
Statistics ToFahrenheit(const Statistics& celsius);

} // namespace velkor::analysis
