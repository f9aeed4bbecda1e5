#include "archive/DataFileSamples.h"

#include "platform/Sha256.h"

#include <cmath>

namespace velkor::archive {

namespace {
std::int32_t Tenths(double value) {
    return static_cast<std::int32_t>(std::lround(value * 10.0));
}
} // namespace

DataFileSamples ReadDataFileSamples(const std::string& fileName, IfNoData ifNoData) {
    DataFileSamples out;
    DataFileReader reader(fileName, ifNoData);
    DataRecord r;
    while (reader.NextData(r)) {
        out.samples.push_back(
            Sample{FromDayCount(r.dateTime), Tenths(r.temperature), Tenths(r.humidity)});
    }
    out.counts = reader.Counts();
    reader.Close();
    out.sha256 = Sha256OfFile(fileName);
    return out;
}

std::int64_t DurationSeconds(double dayFraction) {
    return std::llround(dayFraction * 86400.0);
}

SettingsRead SettingsOf(const LoggerSettings& s) {
    return SettingsRead{FromDayCount(s.ClockDate + s.ClockTime), DurationSeconds(s.Interval),
                        FromDayCount(s.LoggingStart), static_cast<std::int64_t>(s.SampleCount),
                        s.BatteryMillivolts};
}

} // namespace velkor::archive
