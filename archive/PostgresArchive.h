#pragma once
// The archive in a PostgreSQL database, shared by many machines: the same tables as the SQLite
// archive, plus the view velkor_samples for dashboards. Stores of one logger are serialised by a
// lock of the server, so that many programs can write at once; the samples go in with COPY.
//
// A server that cannot be reached, or a connection lost in the middle, is tried again: three
// tries in all, waiting 2 s and then 8 s. A refused password or an unknown host is not.

#include "archive/Archive.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velkor::archive {

struct PostgresRetry {
    std::vector<int> waitsMilliseconds{2000, 8000}; // one wait before each further try
    std::function<void(int milliseconds)> sleep;    // empty: really sleep
};

// Connects and migrates the database to the current schema (in one transaction).
std::unique_ptr<Archive> OpenPostgresArchive(const std::string& url, PostgresRetry retry = {});

} // namespace velkor::archive
