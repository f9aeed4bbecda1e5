#include "analysis/SummaryJson.h"

#include "platform/DateTime.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace velkor::analysis {

double RoundHalfAway(double value, int decimals) {
    if (!std::isfinite(value)) {
        return value;
    }
    // The shortest decimal that reads back as the value decides, not the binary fraction:
    // 2.675 is stored as 2.67499999..., yet written and meant as 2.675.
    char text[64];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*e", precision - 1, value);
        if (std::strtod(text, nullptr) == value) {
            break;
        }
    }
    // Now round the decimal text by hand: digits and exponent.
    const char* p = text;
    bool negative = *p == '-';
    if (negative) {
        ++p;
    }
    std::string digits;
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            digits += *p;
        }
    }
    int exponent = std::atoi(p + 1); // value = 0.d1d2... * 10^(exponent + 1)
    // Digits kept: those before the point (exponent + 1) and the decimals.
    int keep = exponent + 1 + decimals;
    if (keep < 0) {
        return 0.0;
    }
    long double whole = 0;
    for (int i = 0; i < keep && i < static_cast<int>(digits.size()); ++i) {
        whole = whole * 10 + (digits[static_cast<std::size_t>(i)] - '0');
    }
    for (int i = static_cast<int>(digits.size()); i < keep; ++i) {
        whole *= 10;
    }
    if (keep < static_cast<int>(digits.size()) && digits[static_cast<std::size_t>(keep)] >= '5') {
        whole += 1;
    }
    double result = static_cast<double>(whole / std::pow(10.0L, decimals));
    if (result == 0) {
        return 0.0; // no -0
    }
    return negative ? -result : result;
}

std::string RoundedText(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", RoundHalfAway(value, 2));
    std::string text(buffer);
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

std::string TimeText(double dateTime) {
    return FormatDateTime("yyyy-mm-dd hh:nn:ss", dateTime);
}

namespace {

class JsonWriter {
public:
    std::string& Text() { return text_; }

    void Key(const char* key) {
        Comma();
        text_ += '"';
        text_ += key;
        text_ += "\":";
        first_ = true;
        keyed_ = true;
    }
    void Open(char bracket) {
        Comma();
        text_ += bracket;
        first_ = true;
    }
    void Close(char bracket) {
        text_ += bracket;
        first_ = false;
    }
    void Raw(const std::string& value) {
        Comma();
        text_ += value;
        first_ = false;
    }
    void Number(double value) { Raw(std::isfinite(value) ? RoundedText(value) : "null"); }
    void Integer(std::int64_t value) { Raw(std::to_string(value)); }
    void Time(double value) {
        std::string text = TimeText(value);
        Raw(text.empty() ? "null" : "\"" + text + "\"");
    }
    void String(const std::string& value) { Raw("\"" + value + "\""); } // plain ASCII only
    void Bool(bool value) { Raw(value ? "true" : "false"); }
    void Null() { Raw("null"); }

private:
    void Comma() {
        if (keyed_) {
            keyed_ = false;
            return;
        }
        if (!first_) {
            text_ += ',';
        }
    }

    std::string text_;
    bool first_ = true;
    bool keyed_ = false;
};

void WriteStatistics(JsonWriter& json, const Statistics& stats, const std::optional<double>* mkt) {
    json.Open('{');
    bool any = stats.count > 0;
    json.Key("min");
    any ? json.Number(stats.min) : json.Null();
    json.Key("min_time");
    any ? json.Time(stats.minTime) : json.Null();
    json.Key("max");
    any ? json.Number(stats.max) : json.Null();
    json.Key("max_time");
    any ? json.Time(stats.maxTime) : json.Null();
    json.Key("mean");
    any ? json.Number(stats.mean) : json.Null();
    json.Key("sd");
    stats.sd ? json.Number(*stats.sd) : json.Null();
    if (mkt) {
        json.Key("mkt");
        *mkt ? json.Number(**mkt) : json.Null();
    }
    json.Close('}');
}

void WriteLimits(JsonWriter& json, const LimitResult& limits) {
    json.Open('{');
    json.Key("low");
    json.Number(limits.range.low);
    json.Key("high");
    json.Number(limits.range.high);
    json.Key("time_below_s");
    json.Integer(limits.timeBelowSeconds);
    json.Key("time_above_s");
    json.Integer(limits.timeAboveSeconds);
    json.Key("excursions");
    json.Open('[');
    for (const Excursion& excursion : limits.excursions) {
        json.Open('{');
        json.Key("start");
        json.Time(excursion.start);
        json.Key("end");
        json.Time(excursion.end);
        json.Key("duration_s");
        json.Integer(excursion.durationSeconds);
        json.Key("side");
        json.String(excursion.side == Side::Above ? "above" : "below");
        json.Key("extreme");
        json.Number(excursion.extreme);
        json.Close('}');
    }
    json.Close(']');
    json.Close('}');
}

} // namespace

std::string SummaryJson(const Summary& summary, const SourceFacts& facts) {
    JsonWriter json;
    bool any = summary.samples > 0;
    json.Open('{');
    json.Key("samples");
    json.Integer(static_cast<std::int64_t>(summary.samples));
    json.Key("duplicates");
    json.Integer(static_cast<std::int64_t>(summary.duplicates));
    json.Key("bad_lines");
    json.Open('{');
    json.Key("count");
    json.Integer(static_cast<std::int64_t>(facts.badLines));
    json.Key("first_line");
    facts.badLines > 0 ? json.Integer(static_cast<std::int64_t>(facts.firstBadLine)) : json.Null();
    json.Close('}');
    json.Key("first");
    any ? json.Time(summary.first) : json.Null();
    json.Key("last");
    any ? json.Time(summary.last) : json.Null();
    json.Key("interval_s");
    json.Integer(summary.intervalSeconds);
    json.Key("gaps");
    json.Open('[');
    for (const Gap& gap : summary.gaps) {
        json.Open('{');
        json.Key("after");
        json.Time(gap.after);
        json.Key("before");
        json.Time(gap.before);
        json.Key("missing_s");
        json.Integer(gap.missingSeconds);
        json.Close('}');
    }
    json.Close(']');
    json.Key("temperature_c");
    WriteStatistics(json, summary.temperature, &summary.mkt);
    if (summary.hasHumidity) {
        json.Key("humidity_pct");
        WriteStatistics(json, summary.humidity, nullptr);
        json.Key("dew_point_c");
        WriteStatistics(json, summary.dewPoint, nullptr);
    }
    if (summary.limits) {
        json.Key("limits");
        WriteLimits(json, *summary.limits);
    }
    if (summary.humidityLimits) {
        json.Key("humidity_limits");
        WriteLimits(json, *summary.humidityLimits);
    }
    if (!summary.alarms.empty()) {
        json.Key("alarms");
        json.Open('[');
        for (const AlarmResult& alarm : summary.alarms) {
            json.Open('{');
            json.Key("rule");
            json.String(AlarmRuleText(alarm.rule));
            json.Key("triggered");
            json.Bool(alarm.triggered);
            json.Key("at");
            alarm.at ? json.Time(*alarm.at) : json.Null();
            json.Key("time_s");
            json.Integer(alarm.timeSeconds);
            json.Close('}');
        }
        json.Close(']');
    }
    json.Close('}');
    json.Text() += '\n';
    return std::move(json.Text());
}

} // namespace velkor::analysis
