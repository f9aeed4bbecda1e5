#include "log/DataFileCopy.h"

#include <filesystem>
#include <system_error>

namespace velkor {

bool CopyDataFile(const std::string& source, const std::string& destination) noexcept {
    namespace fs = std::filesystem;
    try {
        std::error_code error;
        if (!fs::is_regular_file(source, error))
            return false;
        // Opening the destination for writing would empty the source when both are one file.
        if (fs::exists(destination, error) && fs::equivalent(source, destination, error))
            return false;
        if (error)
            return false;
        return fs::copy_file(source, destination, fs::copy_options::overwrite_existing, error) &&
               !error;
    } catch (...) {
        return false;
    }
}

} // namespace velkor
