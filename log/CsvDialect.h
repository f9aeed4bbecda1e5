#pragma once
// The two forms of CSV a data file's rows are written in. The comma form (RFC 4180: ",", a
// decimal point, no byte-order mark) is what scripts read. Spreadsheets set to Polish take ","
// as the decimal separator, so they read "20.7" as a date and leave "42.3" as text; the Polish
// form uses ";" between fields, a decimal comma and a UTF-8 byte-order mark, as they expect.

#include <optional>
#include <string>

namespace velkor {

struct CsvDialect {
    char separator = ',';
    char decimalSeparator = '.';
    bool byteOrderMark = false;
};

inline constexpr CsvDialect CommaCsv{',', '.', false};
inline constexpr CsvDialect PolishCsv{';', ',', true};

// What the file starts with: the byte-order mark if the dialect has one, then the header
// "time,temperature_c,humidity_pct" with the dialect's separator, and CR LF.
std::string CsvStart(const CsvDialect& dialect);

// One row without its line end: the time as yyyy-mm-dd hh:mm:ss, each value with one decimal as
// in the data file (an empty field for a missing one).
std::string CsvLine(const CsvDialect& dialect, double dateTime, std::optional<double> temperature,
                    std::optional<double> humidity);

} // namespace velkor
