#include "analysis/FileSamples.h"

#include "log/DataFileReader.h"

namespace velkor::analysis {

FileSamples ReadFileSamples(const std::string& fileName) {
    FileSamples result;
    DataFileReader reader(fileName);
    DataRecord record;
    while (reader.NextData(record)) {
        result.samples.push_back({record.dateTime, record.temperature, record.humidity});
        if (record.line <= 2) {
            ++result.fromFirstTwoLines;
        }
    }
    const DataFileCounts& counts = reader.Counts();
    result.facts.badLines = counts.badLines;
    result.facts.firstBadLine = counts.firstBadLine;
    return result;
}

} // namespace velkor::analysis
