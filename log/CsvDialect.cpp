#include "log/CsvDialect.h"

#include "platform/DateTime.h"

#include <charconv>
#include <system_error>

namespace velkor {

namespace {

std::string Value(const CsvDialect& dialect, std::optional<double> value) {
    if (!value)
        return {};
    // Room for the longest fixed-point text of a double (about 310 characters).
    char text[400];
    const auto result =
        std::to_chars(text, text + sizeof text, *value, std::chars_format::fixed, 1);
    std::string field(text, result.ec == std::errc() ? result.ptr : text);
    for (char& c : field)
        if (c == '.')
            c = dialect.decimalSeparator;
    return field;
}

} // namespace

std::string CsvStart(const CsvDialect& dialect) {
    const char separator = dialect.separator;
    return std::string(dialect.byteOrderMark ? "\xEF\xBB\xBF" : "") + "time" + separator +
           "temperature_c" + separator + "humidity_pct\r\n";
}

std::string CsvLine(const CsvDialect& dialect, double dateTime, std::optional<double> temperature,
                    std::optional<double> humidity) {
    return FormatDateTime("yyyy-mm-dd hh:nn:ss", dateTime) + dialect.separator +
           Value(dialect, temperature) + dialect.separator + Value(dialect, humidity);
}

} // namespace velkor
