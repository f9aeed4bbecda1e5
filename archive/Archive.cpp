#include "archive/Archive.h"

#include <algorithm>
#include <cmath>

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
    return location.starts_with("postgresql://") || location.starts_with("postgres://");
}

std::string LocationForDisplay(const std::string& location) {
    if (!IsServerUrl(location)) {
        return location;
    }
    std::string out = location;
    // The authority: from after "//" to the first "/", "?" or "#".
    const auto begin = out.find("//") + 2;
    const auto end = std::min(out.find_first_of("/?#", begin), out.size());
    const auto at = out.rfind('@', end);
    if (at != std::string::npos && at >= begin) {
        const auto colon = out.find(':', begin);
        if (colon != std::string::npos && colon < at) {
            out.erase(colon, at - colon);
        }
    }
    // A password among the query parameters.
    const auto query = out.find('?');
    if (query != std::string::npos) {
        const auto fragment = std::min(out.find('#', query), out.size());
        std::string kept;
        std::size_t start = query + 1;
        while (start <= fragment) {
            const auto stop = std::min(out.find('&', start), fragment);
            const auto parameter = out.substr(start, stop - start);
            if (!parameter.empty() && !parameter.starts_with("password=")) {
                kept += (kept.empty() ? "" : "&") + parameter;
            }
            start = stop + 1;
        }
        out = out.substr(0, query) + (kept.empty() ? "" : "?" + kept) + out.substr(fragment);
    }
    return out;
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

} // namespace velkor::archive
