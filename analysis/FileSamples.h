#pragma once
// The readings of a data file for the summary: every data line, the first two included (a
// report leaves no measurement out; only the chart skips lines 1 and 2).

#include "analysis/Summary.h"
#include "analysis/SummaryJson.h"

#include <string>
#include <vector>

namespace velkor::analysis {

struct FileSamples {
    std::vector<Sample> samples; // in the file's order
    SourceFacts facts;           // the bad lines
    // How many of the samples come from lines 1 and 2, which the chart does not show.
    std::size_t fromFirstTwoLines = 0;
};

// Reads the file through the data-file reader of log/, raising its errors (not a regular
// file, no logger data, a read error).
FileSamples ReadFileSamples(const std::string& fileName);

} // namespace velkor::analysis
