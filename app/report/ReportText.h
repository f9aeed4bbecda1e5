#pragma once
// The report's words and how it writes numbers, times and durations, in both languages.

#include "messages/Language.h"

#include <QString>
#include <cstdint>

namespace velkor::report {

enum class Word {
    DefaultTitle,
    Logger,
    DataFile,
    Sha256,
    Period,
    Samples,
    BadLines,
    BadLinesValue,
    Interval,
    GeneratedAt,
    Program,
    LoggerSection,
    Battery,
    LoggerInterval,
    LoggingStart,
    LoggerSamples,
    SummarySection,
    Quantity,
    Minimum,
    MinimumTime,
    Maximum,
    MaximumTime,
    Mean,
    Sd,
    Temperature,
    Humidity,
    DewPoint,
    Mkt,
    Gaps,
    NoGaps,
    LimitsSection,
    Range,
    HumidityRange,
    TimeBelow,
    TimeAbove,
    NoLimits,
    Rule,
    TimeBeyond,
    FiredAt,
    State,
    Verdict,
    Pass,
    Fail,
    ChartSection,
    LowLimit,
    HighLimit,
    ExcursionsSection,
    NoExcursions,
    Start,
    End,
    Duration,
    Side,
    Extreme,
    Above,
    Below,
    DailySection,
    DayColumn,
    OutOfRange,
    GapsSection,
    GapAfter,
    GapBefore,
    Missing,
    More,
    Signatures,
    PreparedBy,
    ApprovedBy,
    Name,
    Date,
    Signature,
    Page,
    Subject,
    WriteFailed,
    MenuEntry,
    SaveFilter,
    SaveName,
    Archive,
    ArchiveSubject,
    ArchiveNoSamples, // %1 the archive, %2 the logger
};

QString WordOf(Word word, Language language);

// Two decimals, rounded half away from zero as the summary rounds, with the language's decimal
// separator.
QString NumberText(double value, Language language);
// "yyyy-mm-dd hh:nn:ss".
QString TimeText(double dateTime);
// "yyyy-mm-dd".
QString DayText(double dateTime);
// Days, hours, minutes and seconds, leaving out the zero parts: "1 h 30 min", "0 s".
QString DurationText(std::int64_t seconds);

} // namespace velkor::report
