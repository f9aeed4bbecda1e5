#pragma once
// The archive in a SQLite file: WAL journal, a busy timeout so that the window and a cron job
// can write at once, foreign keys on.

#include "archive/Archive.h"

#include <memory>
#include <string>

namespace velkor::archive {

// How long a writer waits for another one to finish before it reports Busy.
constexpr int SqliteBusyTimeoutMilliseconds = 10000;

// Opens or creates the file (its folder too) and migrates it to the current schema.
std::unique_ptr<Archive>
OpenSqliteArchive(const std::string& path,
                  int busyTimeoutMilliseconds = SqliteBusyTimeoutMilliseconds);

} // namespace velkor::archive
