#include "log/DataFileCopy.h"

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Utf8Path.h"

#include <filesystem>
#include <system_error>

namespace velkor {

namespace {

CopyResult Failure(const std::string& source, const std::string& destination,
                   const std::string& why) {
    return {CopyOutcome::Failed, "Cannot copy " + source + " to " + destination + ": " + why, {}};
}

// Copies source into a temporary file beside destination, flushed to disk, and renames it over
// destination. On any failure the temporary file is removed and destination left as it was.
void CopyAtomically(const std::string& source, const std::string& destination) {
    files::CheckReplaceable(destination);
    FileHandle in = files::OpenForReading(source);
    files::TemporaryFile out = files::CreateTemporaryBeside(destination);
    try {
        char buffer[64 * 1024];
        for (;;) {
            const std::size_t n = files::Read(in, buffer, sizeof buffer);
            if (n == 0)
                break;
            files::Write(out.file, buffer, n);
        }
        files::FlushToDisk(out.file);
        files::Close(out.file);
        files::Replace(out.path, destination);
    } catch (...) {
        out.file = FileHandle();
        files::Remove(out.path);
        throw;
    }
}

} // namespace

CopyResult CopyDataFile(const std::string& source, const std::string& destination) noexcept {
    namespace fs = std::filesystem;
    try {
        std::error_code error;
        if (source.empty())
            return Failure(source, destination, "there is no data file yet");
        // A source that cannot be read fails here, with its name and reason.
        files::OpenForReading(source);
        // A copy onto the source itself has nothing to do.
        if (fs::exists(Utf8Path(destination), error) &&
            fs::equivalent(Utf8Path(source), Utf8Path(destination), error))
            return {CopyOutcome::SameFile, {}, {}};
        if (error)
            return Failure(source, destination, error.message());
        CopyAtomically(source, destination);
        return {CopyOutcome::Copied, {}, {}};
    } catch (const std::exception& e) {
        CopyResult result = Failure(source, destination, e.what());
        result.cause = std::current_exception();
        return result;
    } catch (...) {
        return Failure(source, destination, "unknown error");
    }
}

} // namespace velkor
