#include "app/report/ReportSummary.h"

#include "app/report/ReportChart.h"
#include "app/report/ReportPdf.h"

#include "platform/Errors.h"
#include "platform/Sha256.h"
#include "velkor/Version.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace velkor::report {

namespace {

Quantity QuantityOf(const analysis::Statistics& s) {
    return {s.count, s.min, s.minTime, s.max, s.maxTime, s.mean, s.sd};
}

Limits LimitsOf(const analysis::LimitResult& r) {
    return {r.range.low, r.range.high, r.timeBelowSeconds, r.timeAboveSeconds, r.excursions.size()};
}

} // namespace

analysis::FileSamples ReadSortedSamples(const QString& fileName) {
    analysis::FileSamples file = analysis::ReadFileSamples(fileName.toStdString());
    std::stable_sort(
        file.samples.begin(), file.samples.end(),
        [](const analysis::Sample& a, const analysis::Sample& b) { return a.time < b.time; });
    return file;
}

ReportData MakeReportData(std::span<const analysis::Sample> samples,
                          const analysis::SourceFacts& facts, const analysis::Options& options,
                          const ReportRequest& request) {
    const analysis::Summary s = analysis::SummarizeSorted(samples, options);
    ReportData d;
    d.language = request.language;
    d.title = request.title;
    d.loggerId = request.loggerId;
    d.archive = request.archive;
    if (request.archive.isEmpty()) {
        d.fileName = QFileInfo(request.dataFile).fileName();
        try {
            d.sha256 = QString::fromStdString(
                Sha256OfFile(QFile::encodeName(request.dataFile).toStdString()));
        } catch (const InOutError&) {
            // Read a moment ago; a file gone since has no fingerprint to show.
        }
    } else {
        d.fileName = request.loggerId; // the pages' footer names the logger
    }
    d.generatedAt = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    d.program = QStringLiteral("velkor " VELKOR_VERSION);
    d.samples = s.samples;
    d.badLines = facts.badLines;
    d.firstBadLine = facts.firstBadLine;
    d.first = s.first;
    d.last = s.last;
    d.intervalSeconds = s.intervalSeconds;
    d.temperature = QuantityOf(s.temperature);
    if (s.hasHumidity) {
        d.humidity = QuantityOf(s.humidity);
        d.dewPoint = QuantityOf(s.dewPoint);
    }
    d.mkt = s.mkt;
    d.deltaH = s.deltaH;
    for (const analysis::Gap& g : s.gaps)
        d.gaps.push_back({g.after, g.before, g.missingSeconds});
    if (s.limits) {
        d.limits = LimitsOf(*s.limits);
        for (const analysis::Excursion& e : s.limits->excursions)
            d.excursions.push_back(
                {e.start, e.end, e.durationSeconds, e.side == analysis::Side::Above, e.extreme});
    }
    if (s.humidityLimits)
        d.humidityLimits = LimitsOf(*s.humidityLimits);
    for (const analysis::AlarmResult& a : s.alarms)
        d.alarms.push_back({QString::fromStdString(analysis::AlarmRuleText(a.rule)), a.triggered,
                            a.at, a.timeSeconds});
    for (const analysis::DaySummary& day : s.days)
        d.days.push_back(
            {day.day, QuantityOf(day.temperature), day.timeBelowSeconds + day.timeAboveSeconds});
    d.logger = request.logger;

    // The chart shows the period's samples.
    auto begin = samples.begin(), end = samples.end();
    if (options.from)
        begin = std::lower_bound(begin, end, *options.from,
                                 [](const analysis::Sample& a, double t) { return a.time < t; });
    if (options.to)
        end = std::upper_bound(begin, end, *options.to,
                               [](double t, const analysis::Sample& a) { return t < a.time; });
    const analysis::Sample* period = samples.data() + (begin - samples.begin());
    const std::size_t count = static_cast<std::size_t>(end - begin);
    auto time = [period](std::size_t i) { return period[i].time; };
    d.celsiusLine = ReduceLine(count, time, [period](std::size_t i) { return period[i].celsius; });
    if (s.hasHumidity)
        d.humidityLine =
            ReduceLine(count, time, [period](std::size_t i) { return period[i].humidity; });
    return d;
}

} // namespace velkor::report
