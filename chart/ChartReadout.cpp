#include "chart/ChartReadout.h"

#include "chart/Chart.h"
#include "chart/ChartHitTest.h"
#include "platform/DateTime.h"

#include <algorithm>
#include <cmath>

namespace velkor::chart {

std::optional<std::size_t> NearestInRange(std::span<const double> x, double t, double from,
                                          double to) {
    const auto first = std::lower_bound(x.begin(), x.end(), from);
    const auto last = std::upper_bound(first, x.end(), to);
    if (first == last)
        return std::nullopt;
    auto at = std::lower_bound(first, last, t);
    if (at == last) {
        at = std::lower_bound(first, last, *(last - 1)); // the first of the last equal values
    } else if (at != first) {
        const auto before = std::lower_bound(first, at, *(at - 1));
        if (t - *before <= *at - t)
            at = before;
    }
    return static_cast<std::size_t>(at - x.begin());
}

std::optional<std::size_t> IndexAt(std::span<const double> x, double t) {
    const auto at = std::lower_bound(x.begin(), x.end(), t);
    if (at == x.end() || *at != t)
        return std::nullopt;
    return static_cast<std::size_t>(at - x.begin());
}

const ChartAxis& TimeAxisOf(const Chart& chart, const LineSeries& series) {
    return series.HorizAxis() == HorizAxis::Top ? chart.TopAxis() : chart.BottomAxis();
}

std::optional<Readout> ReadoutAt(const Chart& chart, QPoint at) {
    if (!InPlot(chart.LastLayout().plot, at))
        return std::nullopt;
    std::optional<Readout> best;
    double bestDistance = 0;
    for (std::size_t i = 0; i < chart.SeriesCount(); ++i) {
        const LineSeries& s = chart.Series(i);
        if (!s.Active() || s.Points().HasNaN())
            continue;
        const ChartAxis& axis = TimeAxisOf(chart, s);
        const double t = axis.PositionToValue(at.x());
        const std::span<const double> x = s.XValues().Values();
        const auto k = NearestInRange(x, t, axis.Minimum(), axis.Maximum());
        if (!k)
            continue;
        const double distance = std::fabs(x[*k] - t);
        if (!best || distance < bestDistance) {
            best = Readout{x[*k], {}};
            bestDistance = distance;
        }
    }
    if (!best)
        return std::nullopt;
    for (std::size_t i = 0; i < chart.SeriesCount(); ++i) {
        const LineSeries& s = chart.Series(i);
        if (!s.Active())
            continue;
        ReadoutLine line{i, std::nullopt};
        if (!s.Points().HasNaN())
            if (const auto k = IndexAt(s.XValues().Values(), best->time))
                line.value = s.YValues().Values()[*k];
        best->lines.push_back(line);
    }
    return best;
}

QString ReadoutTimeText(double time) {
    return QString::fromStdString(FormatDateTime("yyyy-mm-dd hh:nn:ss", time));
}

QString ReadoutLineText(const Chart& chart, const ReadoutLine& line, const QString& unit) {
    const LineSeries& s = chart.Series(line.series);
    QString text = (s.Title().isEmpty() ? s.Name() : s.Title()) + QStringLiteral(": ");
    if (!line.value || std::isnan(*line.value))
        return text + QStringLiteral("–");
    text += FormatNumber(*line.value, QStringLiteral("0.0"), chart.Separators());
    if (!unit.isEmpty())
        text += u' ' + unit;
    return text;
}

} // namespace velkor::chart
