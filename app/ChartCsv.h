#pragma once
// Every point of the chart's temperature (Series1) and humidity (Series2) as CSV in a dialect of
// log/CsvDialect.h: the header, then one row per time in time order with an empty field where a
// series has no point at that time. The window writes the dialect of its language: Polish
// spreadsheets open the Polish form, others the comma form.

#include "log/CsvDialect.h"
#include "messages/Language.h"

#include <QString>
#include <optional>
#include <span>
#include <vector>

namespace velkor::chart {
class Chart;
} // namespace velkor::chart

namespace velkor {

struct TimeRow {
    double time = 0;
    std::optional<double> temperature;
    std::optional<double> humidity;
    bool operator==(const TimeRow&) const = default;
};

// The two series' points (each ascending in time) merged by time: points with equal times share
// a row; a series with several points at one time pairs them in order with the other's.
std::vector<TimeRow> RowsByTime(std::span<const double> temperatureX,
                                std::span<const double> temperatureY,
                                std::span<const double> humidityX,
                                std::span<const double> humidityY);

// The rows of the chart's Series1 and Series2, shown or hidden.
std::vector<TimeRow> ChartRows(const chart::Chart& chart);

// The CSV dialect of the window's language.
const CsvDialect& CsvDialectOf(Language language);

// The whole file: CsvStart, then the rows, each ending with CR LF.
std::string ChartCsvText(const chart::Chart& chart, const CsvDialect& dialect);

// Writes ChartCsvText, replacing `fileName` whole. Raises InOutError with `failureText` followed
// by the file name when it cannot be written.
void ExportChartCsv(const chart::Chart& chart, const CsvDialect& dialect, const QString& fileName,
                    const QString& failureText);

} // namespace velkor
