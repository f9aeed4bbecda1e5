#pragma once
// What a PDF report shows: the numbers of one analysed period, the facts of the file and of the
// logger, and the reduced points of the chart. Filled from the analysis summary by whoever makes
// the report; the report itself only lays these out. Times are day counts since 1899-12-30,
// temperatures °C, humidity %RH, durations whole seconds.

#include "messages/Language.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace velkor::report {

struct Quantity {
    std::size_t count = 0; // 0: the quantity is not shown
    double min = 0, minTime = 0;
    double max = 0, maxTime = 0;
    double mean = 0;
    std::optional<double> sd;
};

struct Limits {
    double low = 0, high = 0;
    std::int64_t timeBelowSeconds = 0;
    std::int64_t timeAboveSeconds = 0;
    std::size_t excursions = 0;
};

struct Excursion {
    double start = 0, end = 0;
    std::int64_t durationSeconds = 0;
    bool above = true;
    double extreme = 0;
};

struct Gap {
    double after = 0, before = 0;
    std::int64_t missingSeconds = 0;
};

struct Alarm {
    QString rule; // as written on the command line: "above,8,30m,single"
    bool triggered = false;
    std::optional<double> at;
    std::int64_t timeSeconds = 0;
};

struct Day {
    double day = 0;
    Quantity temperature;
    std::int64_t outOfRangeSeconds = 0;
};

// What the logger reported at the download the data comes from.
struct LoggerFacts {
    QString identifier;
    int batteryMillivolts = 0;
    std::int64_t intervalSeconds = 0;
    std::size_t badLines = 0;     // lines of the file left out as unreadable
    std::size_t firstBadLine = 0; // 1-based
    double loggingStart = 0;
    std::uint32_t sampleCount = 0;
};

// One line of the chart: points in time order, already reduced (ReduceLine).
struct ChartLine {
    std::vector<double> time;
    std::vector<double> value;
};

struct ReportData {
    Language language = Language::Polish;
    QString title;
    QString loggerId; // empty when not known
    QString fileName; // as shown: the name without its folder
    QString sha256;   // lower-case hex
    QString archive;  // the archive the samples came from; empty for a data file
    QString generatedAt;
    QString program; // "velkor 1.1.0"

    std::size_t samples = 0;
    double first = 0, last = 0;
    std::int64_t intervalSeconds = 0;
    std::size_t badLines = 0;     // lines of the file left out as unreadable
    std::size_t firstBadLine = 0; // 1-based

    Quantity temperature, humidity, dewPoint;
    std::optional<double> mkt;
    double deltaH = 83.144; // kJ/mol
    std::vector<Gap> gaps;

    std::optional<Limits> limits;         // °C
    std::optional<Limits> humidityLimits; // %RH
    std::vector<Excursion> excursions;    // of the temperature limits
    std::vector<Alarm> alarms;
    std::vector<Day> days;

    std::optional<LoggerFacts> logger;
    ChartLine celsiusLine;
    ChartLine humidityLine; // empty without humidity
};

// Any excursion (temperature or humidity) or fired rule.
bool Failed(const ReportData& data);

} // namespace velkor::report
