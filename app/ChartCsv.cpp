#include "app/ChartCsv.h"

#include "chart/Chart.h"
#include "log/Sinks.h"
#include "platform/Errors.h"

#include <QSaveFile>

#include <algorithm>

namespace velkor {

std::vector<TimeRow> RowsByTime(std::span<const double> temperatureX,
                                std::span<const double> temperatureY,
                                std::span<const double> humidityX,
                                std::span<const double> humidityY) {
    std::vector<TimeRow> rows;
    rows.reserve(std::max(temperatureX.size(), humidityX.size()));
    std::size_t t = 0, h = 0;
    while (t < temperatureX.size() || h < humidityX.size()) {
        const bool takeT =
            t < temperatureX.size() && (h == humidityX.size() || temperatureX[t] <= humidityX[h]);
        const bool takeH =
            h < humidityX.size() && (t == temperatureX.size() || humidityX[h] <= temperatureX[t]);
        TimeRow row;
        if (takeT) {
            row.time = temperatureX[t];
            row.temperature = temperatureY[t++];
        }
        if (takeH) {
            row.time = humidityX[h];
            row.humidity = humidityY[h++];
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<TimeRow> ChartRows(const chart::Chart& chart) {
    const chart::LineSeries& t = chart.Series(static_cast<std::size_t>(TemperatureSeries));
    const chart::LineSeries& h = chart.Series(static_cast<std::size_t>(HumiditySeries));
    return RowsByTime(t.XValues().Values(), t.YValues().Values(), h.XValues().Values(),
                      h.YValues().Values());
}

const CsvDialect& CsvDialectOf(Language language) {
    return language == Language::Polish ? PolishCsv : CommaCsv;
}

std::string ChartCsvText(const chart::Chart& chart, const CsvDialect& dialect) {
    std::string text = CsvStart(dialect);
    for (const TimeRow& row : ChartRows(chart))
        text += CsvLine(dialect, row.time, row.temperature, row.humidity) + "\r\n";
    return text;
}

void ExportChartCsv(const chart::Chart& chart, const CsvDialect& dialect, const QString& fileName,
                    const QString& failureText) {
    const std::string text = ChartCsvText(chart, dialect);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.commit())
        throw InOutError((failureText + fileName).toStdString());
}

} // namespace velkor
