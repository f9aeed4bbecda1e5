#pragma once
// The data file as CSV for spreadsheets: a header, then one row for every data line of the
// file, the first two included (the chart's load skips those two; a spreadsheet wants them).

#include "log/CsvDialect.h"
#include "log/DataFileReader.h"
#include "platform/Errors.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <utility>

namespace velkor {

// The CSV file named is the data file itself (or a link to it): writing it would destroy the
// data. The front ends word the message themselves.
class CsvOntoDataFileError : public InOutError {
public:
    explicit CsvOntoDataFileError(std::string csvFile)
        : InOutError(csvFile + " is the data file itself"), fileName_(std::move(csvFile)) {}
    const std::string& fileName() const { return fileName_; }

private:
    std::string fileName_;
};

struct CsvExportResult {
    std::uint64_t rows = 0; // header not counted
    DataFileCounts counts;  // bad lines are left out of the CSV: counts.badLines
};

// DATAFILE -> CSV in `dialect` (CsvDialect.h) through the data-file reader: the header, then one
// row per data line; bad lines and lines that are no data lines give no row. Rows end with
// CR LF. The rows go to a temporary file beside the CSV file, which then replaces it in one
// step: on any failure the CSV file is as it was. Raises what the reader raises
// (NotRegularFileError, NoLoggerDataError, DataFileShrankError, LocatedInOutError), and
// InOutError "CSVFILE: the system's text" when the CSV file cannot be written,
// CsvOntoDataFileError when it is the data file.
CsvExportResult ExportDataFileToCsv(const std::string& dataFile, const std::string& csvFile,
                                    const CsvDialect& dialect = CommaCsv);

// The same CSV written to `out` (standard output); a stream that fails raises InOutError
// "`outName`: write error".
CsvExportResult ExportDataFileToStream(const std::string& dataFile, std::ostream& out,
                                       const std::string& outName,
                                       const CsvDialect& dialect = CommaCsv);

} // namespace velkor
