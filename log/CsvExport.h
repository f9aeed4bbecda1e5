#pragma once
// The data file as CSV for spreadsheets: a header, then one row for every data line of the
// file, the first two included (the chart's load skips those two; a spreadsheet wants them).

#include "log/DataFileReader.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velkor {

inline constexpr const char* CsvHeader = "time,temperature_c,humidity_pct";

// One CSV row without its line end: time as yyyy-mm-dd hh:mm:ss, numbers with a decimal point
// (the shortest fixed-point text that reads back as the same value, at least one decimal), an
// empty field for a missing value.
std::string CsvRow(double dateTime, std::optional<double> temperature,
                   std::optional<double> humidity);

struct CsvExportResult {
    std::uint64_t rows = 0; // header not counted
    DataFileCounts counts;  // bad lines are left out of the CSV: counts.badLines
};

// DATAFILE -> CSV through the data-file reader: the header, then one row per data line; bad
// lines and lines that are no data lines give no row. Rows end with CR LF. The rows go to a
// temporary file beside the CSV file, which then replaces it in one step: on any failure the
// CSV file is as it was. Raises what the reader raises (NotRegularFileError,
// NoLoggerDataError, DataFileShrankError, LocatedInOutError), and InOutError "CSVFILE: the
// system's text" when the CSV file cannot be written.
CsvExportResult ExportDataFileToCsv(const std::string& dataFile, const std::string& csvFile);

} // namespace velkor
