#pragma once
// What the program knows of the connected logger's settings. Zero at start; set by Connect,
// Save settings and Set clock; read by the download.

#include <cstdint>
#include <string>

namespace velkor {

struct LoggerSettings {
    std::string Identifier; // the first 8 characters of the identification reply
    double ClockTime = 0.0;
    double ClockDate = 0.0;
    double Interval = 0.0; // a time of day used as a duration
    double LoggingStart = 0.0;
    double LoggingEnd = 0.0;
    std::uint32_t SampleCount = 0;
    std::int32_t BatteryMillivolts = 0;
};

} // namespace velkor
