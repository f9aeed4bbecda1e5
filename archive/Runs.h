#pragma once
// The times a download held, kept as runs of equally spaced times: a download of a logger is
// one run (its interval), an import of an old file a few. Shared by the backends.

#include "archive/Archive.h"

#include <cstdint>
#include <span>
#include <vector>

namespace velkor::archive {

struct TimeRun {
    LoggerSeconds first = 0;
    LoggerSeconds last = 0;
    std::int64_t step = 0; // 0: every time from first to last
    std::int64_t count = 0;
    friend bool operator==(const TimeRun&, const TimeRun&) = default;
};

// The distinct times of the samples, in order, as the fewest runs a greedy pass finds.
std::vector<TimeRun> RunsOf(std::span<const Sample> samples);

bool Holds(const TimeRun& run, LoggerSeconds time);

} // namespace velkor::archive
