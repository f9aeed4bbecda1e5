// The one place that knows the backends. A backend adds its Open function here, under the
// CMake definition that says it is built.
#include "archive/Archive.h"
#include "archive/SqliteArchive.h"

#ifdef VELKOR_ARCHIVE_POSTGRES
#include "archive/PostgresArchive.h"
#endif

namespace velkor::archive {

std::unique_ptr<Archive> OpenArchive(const std::string& location) {
    if (IsServerUrl(location)) {
#ifdef VELKOR_ARCHIVE_POSTGRES
        return OpenPostgresArchive(location);
#else
        throw ArchiveError(ArchiveFault::NotBuilt, "PostgreSQL");
#endif
    }
    return OpenSqliteArchive(location);
}

} // namespace velkor::archive
