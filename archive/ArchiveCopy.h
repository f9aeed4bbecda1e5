#pragma once
// One archive copied into another (SQLite to PostgreSQL or back): every logger with its label,
// every download and import with its samples and the values that conflicted, every erase.
// A download the destination holds already (FindDownload) and an erase it records already are
// skipped, so that a second copy adds nothing.

#include "archive/Archive.h"

#include <cstdint>

namespace velkor::archive {

struct CopyCounts {
    std::int64_t loggers = 0;
    std::int64_t downloadsCopied = 0;
    std::int64_t downloadsThere = 0; // held by the destination already
    std::int64_t samplesAdded = 0;   // new in the destination
    std::int64_t erasesCopied = 0;
    friend bool operator==(const CopyCounts&, const CopyCounts&) = default;
};

CopyCounts CopyArchive(Archive& from, Archive& to);

} // namespace velkor::archive
