#include "analysis/Rules.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace velkor::analysis {

namespace {

// A plain decimal number: optional minus, digits, optional point and digits. No exponent, no
// plus sign, no spaces, so the text means the same to everyone who reads it.
std::optional<double> ParseDecimal(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    if (i != text.size() || digits == 0 || text.size() > 32) {
        return std::nullopt;
    }
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        std::fabs(value) > 1e6) {
        return std::nullopt;
    }
    return value == 0 ? 0.0 : value; // no -0
}

std::vector<std::string_view> SplitCommas(std::string_view text) {
    std::vector<std::string_view> parts;
    while (true) {
        std::size_t comma = text.find(',');
        parts.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(comma + 1);
    }
}

} // namespace

std::optional<std::int64_t> ParseDelay(std::string_view text) {
    std::int64_t unit = 1;
    if (!text.empty()) {
        switch (text.back()) {
        case 's':
            unit = 1;
            text.remove_suffix(1);
            break;
        case 'm':
            unit = 60;
            text.remove_suffix(1);
            break;
        case 'h':
            unit = 3600;
            text.remove_suffix(1);
            break;
        default:
            break;
        }
    }
    if (text.empty() || text.size() > 12) {
        return std::nullopt;
    }
    std::int64_t count = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        count = count * 10 + (c - '0');
    }
    if (count > MaxDelaySeconds / unit) {
        return std::nullopt;
    }
    return count * unit;
}

std::optional<AlarmRule> ParseAlarmRule(std::string_view text) {
    std::vector<std::string_view> parts = SplitCommas(text);
    if (parts.size() != 4) {
        return std::nullopt;
    }
    AlarmRule rule;
    if (parts[0] == "above") {
        rule.side = Side::Above;
    } else if (parts[0] == "below") {
        rule.side = Side::Below;
    } else {
        return std::nullopt;
    }
    std::optional<double> threshold = ParseDecimal(parts[1]);
    std::optional<std::int64_t> delay = ParseDelay(parts[2]);
    if (!threshold || !delay) {
        return std::nullopt;
    }
    rule.threshold = *threshold;
    rule.delaySeconds = *delay;
    if (parts[3] == "single") {
        rule.mode = RuleMode::Single;
    } else if (parts[3] == "cumulative") {
        rule.mode = RuleMode::Cumulative;
    } else {
        return std::nullopt;
    }
    return rule;
}

std::string NumberText(double value) {
    // The shortest of %.1g .. %.17g that reads back exactly.
    char buffer[64];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
        double back = 0;
        std::string_view text(buffer);
        std::from_chars(text.data(), text.data() + text.size(), back);
        if (back == value) {
            break;
        }
    }
    std::string text(buffer);
    if (text.find('e') != std::string::npos) {
        // Thresholds are plain decimals up to 1e6: write them without an exponent.
        std::snprintf(buffer, sizeof buffer, "%.6f", value);
        text = buffer;
        while (text.back() == '0') {
            text.pop_back();
        }
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text == "-0" ? "0" : text;
}

std::string DelayText(std::int64_t seconds) {
    if (seconds != 0 && seconds % 3600 == 0) {
        return std::to_string(seconds / 3600) + "h";
    }
    if (seconds != 0 && seconds % 60 == 0) {
        return std::to_string(seconds / 60) + "m";
    }
    return std::to_string(seconds) + "s";
}

std::string AlarmRuleText(const AlarmRule& rule) {
    return std::string(rule.side == Side::Above ? "above" : "below") + "," +
           NumberText(rule.threshold) + "," + DelayText(rule.delaySeconds) + "," +
           (rule.mode == RuleMode::Single ? "single" : "cumulative");
}

const std::vector<std::string>& ProfileNames() {
    static const std::vector<std::string> names = {"2-8", "15-25", "who-type1", "who-type2",
                                                   std::string(CustomProfileName)};
    return names;
}

std::optional<Profile> ProfileByName(std::string_view name) {
    constexpr AlarmRule heat45{Side::Above, 45, 3600, RuleMode::Single};
    constexpr AlarmRule warm30{Side::Above, 30, 10 * 3600, RuleMode::Cumulative};
    Profile profile;
    if (name == "2-8") {
        profile.limits = Range{2, 8};
    } else if (name == "15-25") {
        profile.limits = Range{15, 25};
    } else if (name == "who-type1") {
        profile.rules = {heat45, warm30, {Side::Below, -0.5, 3600, RuleMode::Single}};
    } else if (name == "who-type2") {
        profile.rules = {heat45, warm30, {Side::Above, 10, 20 * 3600, RuleMode::Cumulative}};
    } else if (name != CustomProfileName) {
        return std::nullopt;
    }
    return profile;
}

} // namespace velkor::analysis
