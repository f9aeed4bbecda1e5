#include "archive/ArchiveCopy.h"

#include <algorithm>
#include <map>
#include <vector>

namespace velkor::archive {

CopyCounts CopyArchive(Archive& from, Archive& to) {
    CopyCounts counts;
    for (const LoggerSummary& logger : from.Loggers()) {
        ++counts.loggers;
        // Each sample goes with the download that first brought it, each conflicting value with
        // the download that brought it; stored in the source's order, the first values stay
        // first in the destination too.
        std::map<std::int64_t, std::vector<Sample>> samples;
        from.ReadSamples(logger.id, Period{}, [&](std::span<const StoredSample> chunk) {
            for (const StoredSample& s : chunk)
                samples[s.download].push_back(s.sample);
        });
        for (const Conflict& c : from.Conflicts(logger.id))
            samples[c.download].push_back(c.sample);

        for (const DownloadSummary& d : from.Downloads(logger.id)) {
            if (to.FindDownload(logger.id, d.meta)) {
                ++counts.downloadsThere;
                continue;
            }
            std::vector<Sample>& own = samples[d.id];
            std::stable_sort(own.begin(), own.end(),
                             [](const Sample& a, const Sample& b) { return a.time < b.time; });
            counts.samplesAdded +=
                to.Store(LoggerIdentity{logger.id, logger.humiditySensor}, d.meta, own).added;
            ++counts.downloadsCopied;
        }

        const std::vector<EraseEvent> there = to.EraseEvents(logger.id);
        for (const EraseEvent& e : from.EraseEvents(logger.id)) {
            const bool held = std::any_of(there.begin(), there.end(), [&](const EraseEvent& t) {
                return t.at == e.at && t.confirmed == e.confirmed;
            });
            if (!held) {
                to.RecordErase(e);
                ++counts.erasesCopied;
            }
        }
        if (!logger.label.empty()) {
            try {
                to.SetLabel(logger.id, logger.label);
            } catch (const ArchiveError& e) {
                // A logger whose every download was removed again holds nothing to copy.
                if (e.Fault() != ArchiveFault::NoSuchLogger)
                    throw;
            }
        }
    }
    return counts;
}

} // namespace velkor::archive
