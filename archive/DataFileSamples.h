#pragma once
// What the measurement log gives the archive: the samples of a data file, read by the one
// data-file reader, and what is known of a download. Both front ends store downloads and
// imports through these, so that the archive holds exactly what the data file holds.

#include "archive/Archive.h"
#include "link/LoggerSettings.h"
#include "log/DataFileReader.h"
#include "log/Download.h"

#include <string>
#include <vector>

namespace velkor::archive {

struct DataFileSamples {
    std::vector<Sample> samples; // every data line, the first two included, in file order
    DataFileCounts counts;       // the bad lines were left out
    std::string sha256;          // of the file's bytes
};

// Reads the file through DataFileReader (IfNoData as given) and takes its SHA-256; values are
// rounded to tenths, times to the second. Raises what the reader raises.
DataFileSamples ReadDataFileSamples(const std::string& fileName,
                                    IfNoData ifNoData = IfNoData::Refuse);

// Seconds of a duration given as a day fraction (the interval), rounded.
std::int64_t DurationSeconds(double dayFraction);

// The settings as read before a download.
SettingsRead SettingsOf(const LoggerSettings& settings);

// Stores a download whose data file is written: its settings, port and counts, and, when the
// file was replaced, the file's samples and SHA-256 (`meta` brings the program, its version and
// the time). Raises ArchiveError, or what the reader raises when the file cannot be read back.
StoreCounts StoreDownload(Archive& archive, DownloadMeta meta, const LoggerSettings& settings,
                          const std::string& port, const DownloadResult& result, bool complete,
                          const std::string& fileName);

// How many samples the logger holds by its settings and clock that the archive lacks in that
// period (SamplesHeld, HeldPeriod); 0 when it has them all.
std::int64_t SamplesOutsideArchive(Archive& archive, const LoggerSettings& settings);

} // namespace velkor::archive
