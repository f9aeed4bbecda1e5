#include "log/DataFileCopy.h"

#include <filesystem>
#include <system_error>

namespace velkor {

namespace {

CopyResult Failure(const std::string& source, const std::string& destination,
                   const std::string& why) {
    return {CopyOutcome::Failed, "Cannot copy " + source + " to " + destination + ": " + why};
}

} // namespace

CopyResult CopyDataFile(const std::string& source, const std::string& destination) noexcept {
    namespace fs = std::filesystem;
    try {
        std::error_code error;
        if (source.empty())
            return Failure(source, destination, "there is no data file yet");
        if (!fs::is_regular_file(source, error))
            return Failure(source, destination,
                           error ? error.message() : "No such file or directory");
        // Opening the destination for writing would empty the source when both are one file.
        if (fs::exists(destination, error) && fs::equivalent(source, destination, error))
            return {CopyOutcome::SameFile, {}};
        if (error)
            return Failure(source, destination, error.message());
        if (!fs::copy_file(source, destination, fs::copy_options::overwrite_existing, error) ||
            error)
            return Failure(source, destination,
                           error ? error.message() : "the file could not be written");
        return {CopyOutcome::Copied, {}};
    } catch (const std::exception& e) {
        return Failure(source, destination, e.what());
    } catch (...) {
        return Failure(source, destination, "unknown error");
    }
}

} // namespace velkor
