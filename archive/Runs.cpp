#include "archive/Runs.h"

#include <algorithm>

namespace velkor::archive {

std::vector<TimeRun> RunsOf(std::span<const Sample> samples) {
    std::vector<LoggerSeconds> times;
    times.reserve(samples.size());
    for (const auto& s : samples) {
        times.push_back(s.time);
    }
    // A download arrives in time order; an import usually does.
    if (!std::is_sorted(times.begin(), times.end())) {
        std::sort(times.begin(), times.end());
    }
    times.erase(std::unique(times.begin(), times.end()), times.end());

    std::vector<TimeRun> runs;
    std::size_t i = 0;
    while (i < times.size()) {
        std::size_t j = i;
        std::int64_t step = 0;
        if (i + 1 < times.size()) {
            step = times[i + 1] - times[i];
            j = i + 1;
            while (j + 1 < times.size() && times[j + 1] - times[j] == step) {
                ++j;
            }
        }
        runs.push_back(TimeRun{times[i], times[j], step, static_cast<std::int64_t>(j - i + 1)});
        i = j + 1;
    }
    return runs;
}

bool Holds(const TimeRun& run, LoggerSeconds time) {
    if (time < run.first || time > run.last) {
        return false;
    }
    return run.step == 0 || (time - run.first) % run.step == 0;
}

} // namespace velkor::archive
