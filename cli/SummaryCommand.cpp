// summary: the answers of a data file (statistics, MKT, dew point, limits, excursions, alarm
// rules) as a table in the chosen language or as JSON.

#include "analysis/FileSamples.h"
#include "analysis/SummaryJson.h"
#include "cli/ArchiveCommands.h"
#include "cli/Commands.h"
#include "log/DataFileReader.h"
#include "platform/DateTimeText.h"
#include "platform/Errors.h"
#include "platform/TextEscape.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>

namespace velkor::cli {

namespace {

using namespace velkor::analysis;

class UsageFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

double NumberOption(const Context& context, const Invocation& invocation, const char* name) {
    const std::string text = *invocation.Value(name);
    const std::optional<double> value = ParseDecimal(text);
    if (!value)
        throw UsageFailure(context.Say(Msg::BadNumber, {text, std::string("--") + name}));
    return *value;
}

// A range from a profile's and the options' ends; one end alone leaves the other open.
std::optional<Range> RangeOf(const Context& context, const Invocation& invocation,
                             std::optional<Range> range, const char* low, const char* high) {
    if (!invocation.Has(low) && !invocation.Has(high))
        return range;
    Range result = range.value_or(
        Range{-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()});
    if (invocation.Has(low))
        result.low = NumberOption(context, invocation, low);
    if (invocation.Has(high))
        result.high = NumberOption(context, invocation, high);
    if (result.low > result.high)
        throw UsageFailure(
            context.Say(Msg::LimitsInverted, {NumberText(result.low), NumberText(result.high)}));
    return result;
}

std::optional<double> TimeOption(const Context& context, const Invocation& invocation,
                                 const char* name) {
    const std::optional<std::string> text = invocation.Value(name);
    if (!text)
        return std::nullopt;
    const std::optional<double> time = ParseDateTimeText(*text);
    if (!time)
        throw UsageFailure(context.Say(Msg::BadDateTime, {*text}));
    return time;
}

Options OptionsOf(const Context& context, const Invocation& invocation) {
    Options options;
    const std::string profileName = invocation.Value("profile").value_or("custom");
    const std::optional<Profile> profile = ProfileByName(profileName);
    if (!profile)
        throw UsageFailure(context.Say(Msg::BadProfile, {profileName}));
    options.profile = *profile;
    options.profile.limits = RangeOf(context, invocation, profile->limits, "low", "high");
    options.profile.humidityLimits =
        RangeOf(context, invocation, profile->humidityLimits, "hum-low", "hum-high");
    if (const auto it = invocation.repeated.find("alarm"); it != invocation.repeated.end())
        for (const std::string& text : it->second) {
            const std::optional<AlarmRule> rule = ParseAlarmRule(text);
            if (!rule)
                throw UsageFailure(context.Say(Msg::BadRule, {text}));
            options.profile.rules.push_back(*rule);
        }
    if (invocation.Has("delta-h")) {
        options.deltaH = NumberOption(context, invocation, "delta-h");
        if (!(options.deltaH > 0))
            throw UsageFailure(
                context.Say(Msg::BadNumber, {*invocation.Value("delta-h"), "--delta-h"}));
    }
    options.from = TimeOption(context, invocation, "from");
    options.to = TimeOption(context, invocation, "to");
    options.humidity = !invocation.Has("no-humidity");
    return options;
}

// The text output: a readable table.
class TextReport {
public:
    TextReport(const Context& context, bool fahrenheit)
        : context_(context), fahrenheit_(fahrenheit) {}

    std::string Number(double value) const {
        if (!std::isfinite(value))
            return "–";
        std::string text = RoundedText(value);
        // Two decimals always, and the decimal comma in Polish.
        const std::size_t point = text.find('.');
        if (point == std::string::npos)
            text += ".00";
        else if (text.size() - point == 2)
            text += '0';
        if (context_.lang == Language::Polish)
            std::replace(text.begin(), text.end(), '.', ',');
        return text;
    }
    std::string Temperature(double celsius) const {
        return Number(fahrenheit_ ? ToFahrenheit(celsius) : celsius) +
               (fahrenheit_ ? " °F" : " °C");
    }
    std::string Spread(double celsius) const {
        return Number(fahrenheit_ ? celsius * 1.8 : celsius);
    }
    std::string Humidity(double percent) const { return Number(percent) + " %"; }
    std::string Duration(std::int64_t seconds) const {
        std::string text;
        if (seconds >= 3600)
            text = std::to_string(seconds / 3600) + " h ";
        if (seconds >= 60) {
            const std::int64_t minutes = seconds % 3600 / 60;
            text += (seconds >= 3600 && minutes < 10 ? "0" : "") + std::to_string(minutes) + " min";
        }
        if (seconds % 60 != 0 || seconds == 0)
            text += (text.empty() ? "" : " ") + std::to_string(seconds % 60) + " s";
        return text;
    }

private:
    const Context& context_;
    bool fahrenheit_;
};

// Width on the terminal: UTF-8 continuation bytes take no column.
std::size_t Columns(const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t bar; (bar = text.find('|', start)) != std::string::npos; start = bar + 1)
        parts.push_back(text.substr(start, bar - start));
    parts.push_back(text.substr(start));
    return parts;
}

// Rows of cells, each column as wide as its widest cell, two blanks apart.
void WriteTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows,
                const std::string& indent) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths.resize(std::max(widths.size(), row.size()));
            widths[i] = std::max(widths[i], Columns(row[i]));
        }
    for (const auto& row : rows) {
        std::string line = indent;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size())
                line += std::string(widths[i] - Columns(row[i]) + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out << line << '\n';
    }
}

// `source`: the rows that name where the samples come from.
void WriteText(std::ostream& out, const Context& context,
               std::vector<std::vector<std::string>> source, const Summary& s, bool fahrenheit) {
    const TextReport r(context, fahrenheit);
    auto say = [&](auto msg, std::initializer_list<std::string> args = {}) {
        return context.Say(msg, args);
    };
    std::vector<std::vector<std::string>> head = std::move(source);
    head.insert(head.end(),
                {
                    {say(Msg::SummarySamples), std::to_string(s.samples)},
                    {say(Msg::SummaryPeriod), TimeText(s.first) + " – " + TimeText(s.last)},
                    {say(Msg::SummaryInterval), r.Duration(s.intervalSeconds)},
                    {say(Msg::SummaryGaps), std::to_string(s.gaps.size())},
                });
    WriteTable(out, head, "");
    for (const Gap& gap : s.gaps)
        out << "  "
            << say(Msg::SummaryGap,
                   {TimeText(gap.after), TimeText(gap.before), r.Duration(gap.missingSeconds)})
            << '\n';
    out << '\n';

    std::vector<std::vector<std::string>> stats;
    std::vector<std::string> header{""};
    for (const std::string& cell : Split(say(Msg::SummaryHeader)))
        header.push_back(cell);
    stats.push_back(header);
    auto row = [&](Message name, const Statistics& st, bool temperature,
                   const std::optional<double>& mkt) {
        auto value = [&](double v) { return temperature ? r.Temperature(v) : r.Humidity(v); };
        if (st.count == 0) {
            stats.push_back({say(name), "–"});
            return;
        }
        stats.push_back({say(name), value(st.min), TimeText(st.minTime), value(st.max),
                         TimeText(st.maxTime), value(st.mean),
                         st.sd ? (temperature ? r.Spread(*st.sd) : r.Number(*st.sd)) : "–",
                         mkt ? r.Temperature(*mkt) : ""});
    };
    row(Message::Temperature, s.temperature, true, s.mkt);
    if (s.hasHumidity) {
        row(Message::Humidity, s.humidity, false, std::nullopt);
        row(Message::DewPoint, s.dewPoint, true, std::nullopt);
    }
    WriteTable(out, stats, "");

    auto limits = [&](Msg title, const LimitResult& l, bool temperature) {
        auto value = [&](double v) { return temperature ? r.Temperature(v) : r.Humidity(v); };
        out << '\n'
            << say(title, {value(l.range.low), value(l.range.high)}) << ' '
            << say(Msg::SummaryTimeOutside,
                   {r.Duration(l.timeBelowSeconds), r.Duration(l.timeAboveSeconds),
                    std::to_string(l.excursions.size())})
            << '\n';
        if (l.excursions.empty())
            return;
        std::vector<std::vector<std::string>> rows{Split(say(Msg::SummaryExcursionHeader))};
        for (const Excursion& e : l.excursions)
            rows.push_back({TimeText(e.start), TimeText(e.end), r.Duration(e.durationSeconds),
                            say(e.side == Side::Above ? Message::Above : Message::Below),
                            value(e.extreme)});
        WriteTable(out, rows, "  ");
    };
    if (s.limits)
        limits(Msg::SummaryLimits, *s.limits, true);
    if (s.humidityLimits)
        limits(Msg::SummaryHumidityLimits, *s.humidityLimits, false);

    if (!s.alarms.empty()) {
        out << '\n' << say(Msg::SummaryAlarms) << '\n';
        std::vector<std::vector<std::string>> rows;
        for (const AlarmResult& a : s.alarms)
            rows.push_back(
                {AlarmRuleText(a.rule),
                 a.triggered ? say(Msg::SummaryFired, {TimeText(*a.at), r.Duration(a.timeSeconds)})
                             : say(Msg::SummaryNotFired, {r.Duration(a.timeSeconds)})});
        WriteTable(out, rows, "  ");
    }
}

bool AnyTrouble(const Summary& s) {
    auto excursions = [](const std::optional<LimitResult>& l) {
        return l && !l->excursions.empty();
    };
    return excursions(s.limits) || excursions(s.humidityLimits) ||
           std::any_of(s.alarms.begin(), s.alarms.end(),
                       [](const AlarmResult& a) { return a.triggered; });
}

} // namespace

int RunSummary(Context& context, const Invocation& invocation) {
    std::ostream& err = context.services.err;
    auto failed = [&](int code, const std::string& message) {
        err << "velkor-cli: " << message << '\n';
        if (code == ExitUsage)
            err << context.Say(Msg::SeeHelp) << '\n';
        return code;
    };
    Options options;
    try {
        options = OptionsOf(context, invocation);
    } catch (const UsageFailure& e) {
        return failed(ExitUsage, e.what());
    }
    if (const std::optional<std::string> logger = invocation.Value("archive-logger")) {
        if (!invocation.operands.empty())
            return failed(ExitUsage, context.Say(Msg::FileOrArchiveLogger));
        ArchivedSamples archived =
            ReadArchivedSamples(context, invocation, *logger, options.from, options.to);
        const std::string shownLogger = EscapeForMessage(*logger);
        const std::string shownArchive = EscapeForMessage(archived.location);
        const Summary summary = Summarize(std::move(archived.samples), options);
        if (summary.samples == 0)
            return failed(ExitFailed,
                          context.Say(Msg::NoArchivedSamples, {shownArchive, shownLogger}));
        if (invocation.Has("json"))
            context.services.out << SummaryJson(summary);
        else
            WriteText(context.services.out, context,
                      {{context.Say(Msg::SummaryLogger), shownLogger},
                       {context.Say(Msg::SummaryArchive), shownArchive}},
                      summary, invocation.Has("fahrenheit"));
        return invocation.Has("fail-on-excursion") && AnyTrouble(summary) ? ExitExcursion
                                                                          : ExitDone;
    }

    const std::string& fileName = invocation.operands.at(0);
    FileSamples file;
    const std::string shownName = EscapeForMessage(fileName);
    try {
        file = ReadFileSamples(fileName);
    } catch (const NotRegularFileError&) {
        return failed(ExitFailed, context.Say(Message::NotRegularFile, {shownName}));
    } catch (const NoLoggerDataError&) {
        return failed(ExitFailed, context.Say(Message::NoLoggerData, {shownName}));
    } catch (const DataFileShrankError&) {
        return failed(ExitFailed, context.Say(Message::FileShrank, {shownName}));
    } catch (const LocatedInOutError& e) {
        const std::string what =
            e.line > 0
                ? context.Say(Msg::FileLineError, {shownName, std::to_string(e.line), e.what()})
                : shownName + ": " + e.what();
        return failed(ExitFailed, context.Say(Msg::Failed, {what}));
    }
    if (file.samples.empty())
        return failed(ExitFailed, context.Say(Message::NoLoggerData, {shownName}));
    const Summary summary = Summarize(std::move(file.samples), options);
    if (summary.samples == 0)
        return failed(ExitFailed, context.Say(Msg::NoSamplesInPeriod, {shownName}));

    if (invocation.Has("json"))
        context.services.out << SummaryJson(summary, file.facts);
    else
        WriteText(context.services.out, context,
                  {{context.Say(Msg::SummaryFile), EscapeForMessage(fileName)}}, summary,
                  invocation.Has("fahrenheit"));
    if (file.facts.badLines > 0)
        err << context.Say(Msg::BadLinesLeftOut, {std::to_string(file.facts.badLines),
                                                  std::to_string(file.facts.firstBadLine)})
            << '\n';
    // 4 goes before 3 when both apply.
    if (invocation.Has("fail-on-excursion") && AnyTrouble(summary))
        return ExitExcursion;
    return file.facts.badLines > 0 ? ExitIncomplete : ExitDone;
}

} // namespace velkor::cli
