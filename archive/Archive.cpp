#include "archive/Archive.h"

#include "archive/postgres/PgUrl.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace velkor::archive {

namespace {
// Days from 1899-12-30 to 1970-01-01.
constexpr double UnixEpochDayCount = 25569.0;
constexpr double SecondsPerDay = 86400.0;
} // namespace

LoggerSeconds FromDayCount(double dayCount) {
    return std::llround((dayCount - UnixEpochDayCount) * SecondsPerDay);
}

double ToDayCount(LoggerSeconds seconds) {
    return UnixEpochDayCount + static_cast<double>(seconds) / SecondsPerDay;
}

std::vector<Sample> Archive::Samples(const std::string& logger, const Period& period) {
    std::vector<Sample> out;
    ReadSamples(logger, period, [&](std::span<const StoredSample> chunk) {
        for (const auto& s : chunk) {
            out.push_back(s.sample);
        }
    });
    return out;
}

bool IsServerUrl(const std::string& location) {
    return IsPostgresUrl(location);
}

std::optional<Message> FaultMessage(ArchiveFault fault) {
    switch (fault) {
    case ArchiveFault::NotBuilt:
        return Message::ArchiveKindNotBuilt;
    case ArchiveFault::CannotOpen:
        return Message::ArchiveCannotOpen;
    case ArchiveFault::NotAnArchive:
        return Message::ArchiveNotAnArchive;
    case ArchiveFault::Damaged:
        return Message::ArchiveDamaged;
    case ArchiveFault::Busy:
        return Message::ArchiveBusy;
    case ArchiveFault::Full:
        return Message::ArchiveFull;
    case ArchiveFault::ReadOnly:
        return Message::ArchiveReadOnly;
    case ArchiveFault::NewerSchema:
        return Message::ArchiveNewer;
    case ArchiveFault::Authentication:
        return Message::ArchiveLoginRefused;
    case ArchiveFault::NoSuchLogger:
    case ArchiveFault::NoSuchDownload:
    case ArchiveFault::Other:
        break;
    }
    return std::nullopt;
}

bool ArchiveMissing(const std::string& location) {
    std::error_code ec;
    return !IsServerUrl(location) && !std::filesystem::exists(location, ec) && !ec;
}

std::string LocationForDisplay(const std::string& location) {
    return WithoutPassword(location);
}

std::int64_t SamplesHeld(const SettingsRead& settings) {
    if (settings.interval <= 0 || settings.clock < settings.loggingStart) {
        return 0;
    }
    const std::int64_t due = (settings.clock - settings.loggingStart) / settings.interval + 1;
    return std::min(settings.sampleCount, due);
}

Period HeldPeriod(const SettingsRead& settings) {
    const auto held = SamplesHeld(settings);
    if (held == 0) {
        return Period{settings.loggingStart, settings.loggingStart - 1};
    }
    return Period{settings.loggingStart, settings.loggingStart + (held - 1) * settings.interval};
}

std::vector<analysis::Sample> ReadAnalysisSamples(Archive& archive, const std::string& logger,
                                                  std::optional<double> from,
                                                  std::optional<double> to) {
    return ReadAnalysisSamples(archive, logger,
                               Period{from ? std::optional(FromDayCount(*from)) : std::nullopt,
                                      to ? std::optional(FromDayCount(*to)) : std::nullopt});
}

std::vector<analysis::Sample> ReadAnalysisSamples(Archive& archive, const std::string& logger,
                                                  const Period& period) {
    std::vector<analysis::Sample> samples;
    archive.ReadSamples(logger, period, [&](std::span<const StoredSample> chunk) {
        for (const StoredSample& stored : chunk)
            samples.push_back({ToDayCount(stored.sample.time), stored.sample.temperature / 10.0,
                               stored.sample.humidity / 10.0});
    });
    return samples;
}

} // namespace velkor::archive
