#pragma once
// The summary as JSON, a stable schema for scripts: times "yyyy-mm-dd hh:mm:ss" in the
// logger's local time, °C and % rounded to 2 decimals half away from zero, durations in whole
// seconds. "limits", "humidity_limits" and "alarms" appear only when asked for; "humidity_pct"
// and "dew_point_c" only with humidity.

#include "analysis/Summary.h"

#include <string>

namespace velkor::analysis {

// What the file reader found beside the samples.
struct SourceFacts {
    std::size_t badLines = 0;
    std::size_t firstBadLine = 0; // its line number, 1-based; 0 without bad lines
};

std::string SummaryJson(const Summary& summary, const SourceFacts& facts = {});

// Rounds half away from zero to the given decimals, taking the value as its shortest decimal
// form (2.675 rounds to 2.68).
double RoundHalfAway(double value, int decimals);
// The number rounded to 2 decimals, without trailing zeros ("2.5", "-8.77", "25").
std::string RoundedText(double value);
// "yyyy-mm-dd hh:mm:ss".
std::string TimeText(double dateTime);

} // namespace velkor::analysis
