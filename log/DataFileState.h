#pragma once
// The name of the current data file: empty at start, "logger.txt" after a download that received
// records (a download that received none leaves it as it was), the chosen
// name after a load. A copy reads it and leaves it as it is.

#include <string>

namespace velkor {

// The download's data file, relative to the working directory.
inline const std::string DefaultDataFileName = "logger.txt";

struct DataFileState {
    std::string DataFileName;
};

} // namespace velkor
