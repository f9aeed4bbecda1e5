#include "archive/DataFileSamples.h"

#include "link/Commands.h"
#include "platform/Sha256.h"

#include <algorithm>
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

StoreCounts StoreDownload(Archive& archive, DownloadMeta meta, const LoggerSettings& settings,
                          const std::string& port, const DownloadResult& result, bool complete,
                          const std::string& fileName) {
    meta.kind = DownloadKind::Download;
    meta.port = port;
    meta.settings = SettingsOf(settings);
    meta.recordsExpected = result.samplesExpected;
    meta.recordsReceived = result.recordsWritten;
    meta.complete = complete;
    DataFileSamples read;
    if (result.fileReplaced) {
        read = ReadDataFileSamples(fileName, IfNoData::Accept);
        meta.sha256 = read.sha256;
    }
    const auto& id = settings.Identifier;
    return archive.Store({id, cmd::HasHumidity(id)}, meta, read.samples);
}

std::int64_t SamplesOutsideArchive(Archive& archive, const LoggerSettings& settings) {
    const auto read = SettingsOf(settings);
    const auto held = SamplesHeld(read);
    if (held == 0) {
        return 0;
    }
    return std::max<std::int64_t>(
        0, held - archive.CountSamples(settings.Identifier, HeldPeriod(read)));
}

} // namespace velkor::archive
