#include "log/CsvExport.h"

#include "platform/DateTime.h"
#include "platform/DateTimeText.h"
#include "platform/Errors.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <vector>

namespace velkor {

namespace {

// The number syntax of the data file: leading spaces, an optional sign, digits with an optional
// fraction and exponent. Anything else ("12,5", "inf", "21.5x") does not read.
std::optional<double> ReadNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string_view::npos)
        return std::nullopt;
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string NumberField(std::optional<double> value) {
    if (!value)
        return {};
    // Room for the longest fixed-point text of a double (about 330 characters).
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, *value, std::chars_format::fixed);
    std::string field(text, result.ec == std::errc() ? result.ptr : text);
    // Whole numbers keep a decimal point too, like every value of the data file.
    if (field.find('.') == std::string::npos)
        field += ".0";
    return field;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return fields;
        line.remove_prefix(tab + 1);
    }
}

[[noreturn]] void RaiseFileError(const std::string& fileName, int error) {
    throw InOutError(fileName + ": " + std::strerror(error ? error : EIO));
}

} // namespace

std::string CsvRow(double dateTime, std::optional<double> temperature,
                   std::optional<double> humidity) {
    return FormatDateTime("yyyy-mm-dd hh:nn:ss", dateTime) + ',' + NumberField(temperature) + ',' +
           NumberField(humidity);
}

std::string CsvRowOfDataLine(std::string_view line) {
    const std::vector<std::string_view> fields = SplitTabs(line);
    auto field = [&](std::size_t i) { return i < fields.size() ? fields[i] : std::string_view(); };
    const std::optional<double> temperature = ReadNumber(field(2));
    const std::optional<double> humidity = ReadNumber(field(3));
    if (const std::optional<double> time = ParseDateTimeText(field(1)))
        return CsvRow(*time, temperature, humidity);
    return ',' + NumberField(temperature) + ',' + NumberField(humidity);
}

std::size_t ExportDataFileToCsv(const std::string& dataFile, const std::string& csvFile) {
    errno = 0;
    std::ifstream in(dataFile, std::ios::binary);
    if (!in)
        RaiseFileError(dataFile, errno);
    std::string csv = std::string(CsvHeader) + "\r\n";
    std::size_t rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        csv += CsvRowOfDataLine(line) + "\r\n";
        ++rows;
    }
    if (in.bad())
        RaiseFileError(dataFile, errno);

    errno = 0;
    std::ofstream out(csvFile, std::ios::binary | std::ios::trunc);
    if (!out)
        RaiseFileError(csvFile, errno);
    out << csv;
    out.flush();
    if (!out)
        RaiseFileError(csvFile, errno);
    return rows;
}

} // namespace velkor
