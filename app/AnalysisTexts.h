#pragma once
// The texts of the analysis dialog, in both languages.

#include "messages/Language.h"

#include <QString>

namespace velkor {

enum class AnalysisText {
    Caption,
    Profile,
    Logger,        // the archived logger analysed
    ProfileCustom, // the profile of one's own limits and rules
    TemperatureRange,
    HumidityRange,
    Low,
    High,
    Rules,
    Above,
    Below,
    Single,
    Cumulative,
    DelayMinutes, // the tooltip of the delay
    DeltaH,
    Period,
    WholeData,
    VisibleRange,
    Unit,
    ShowOnChart,
    DewPoint,
    Quantity,
    Temperature,
    Humidity,
    Minimum,
    MinimumTime,
    Maximum,
    MaximumTime,
    Mean,
    Deviation,
    Mkt,
    Excursions,
    Start,
    End,
    Duration,
    Side,
    Extreme,
    Alarms,
    Rule,
    FiredAt,
    Verdict,
    Ok,
    Alarm,
    Overview,     // %1 samples, %2 first, %3 last, %4 interval (s), %5 gaps, %6 duplicates
    TimeOutside,  // %1 below, %2 above
    HumidityTime, // %1 below, %2 above
    NoData,
    ReadFailed, // %1 file name, %2 the reason
    BadLines,   // %1 count, %2 the first one's number
    Close,
};

QString TextOf(AnalysisText text, Language language);

// "2 h 05 min", "15 min", "40 s".
QString DurationText(long long seconds);

} // namespace velkor
