#pragma once
// The data file as CSV for spreadsheets: a header, then one row for every data line of the
// file, the first two included (the chart's load skips those two; a spreadsheet wants them).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velkor {

inline constexpr const char* CsvHeader = "time,temperature_c,humidity_pct";

// One CSV row without its line end: time as yyyy-mm-dd hh:mm:ss, numbers with a decimal point
// (the shortest fixed-point text that reads back as the same value, at least one decimal), an
// empty field for a missing value.
std::string CsvRow(double dateTime, std::optional<double> temperature,
                   std::optional<double> humidity);

// The CSV row of one data line's text (without its line end): the fields after the record
// number, separated by TABs. A date-time, temperature or humidity that is missing or does not
// read gives an empty field.
std::string CsvRowOfDataLine(std::string_view line);

// DATAFILE -> CSV: every data line, the first two included; blank lines are left out. Rows end
// with CR LF. Returns the number of rows written (header not counted). Raises InOutError with
// the system's text when the data file cannot be read or the CSV file cannot be written.
std::size_t ExportDataFileToCsv(const std::string& dataFile, const std::string& csvFile);

} // namespace velkor
