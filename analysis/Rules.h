#pragma once
// Limits, alarm rules and the named profiles that preset them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkor::analysis {

enum class Side { Above, Below };
enum class RuleMode { Single, Cumulative };

// An allowed range: low <= value <= high is in range.
struct Range {
    double low = 0;
    double high = 0;
    bool operator==(const Range&) const = default;
};

// Fires when the readings at or beyond the threshold (>= above, <= below) reach the delay:
// in one uninterrupted stretch (single) or in total (cumulative). Thresholds are in °C.
struct AlarmRule {
    Side side = Side::Above;
    double threshold = 0;
    std::int64_t delaySeconds = 0;
    RuleMode mode = RuleMode::Single;
    bool operator==(const AlarmRule&) const = default;
};

// The most rules a custom profile holds in the window.
constexpr int MaxCustomRules = 4;
// The longest delay accepted: ten years.
constexpr std::int64_t MaxDelaySeconds = 10LL * 366 * 86400;

struct Profile {
    std::optional<Range> limits;         // °C
    std::optional<Range> humidityLimits; // %RH
    std::vector<AlarmRule> rules;
};

// "N", "Ns", "Nm" or "Nh" with N a whole number, up to MaxDelaySeconds.
std::optional<std::int64_t> ParseDelay(std::string_view text);
// "above,8,30m,single" or "below,-0.5,1h,cumulative".
std::optional<AlarmRule> ParseAlarmRule(std::string_view text);
// The rule in the form ParseAlarmRule reads; the delay in the largest whole unit.
std::string AlarmRuleText(const AlarmRule& rule);
std::string DelayText(std::int64_t seconds);

// The names of the presets, in the order the window offers them, then "custom".
const std::vector<std::string>& ProfileNames();
constexpr std::string_view CustomProfileName = "custom";
// A preset's limits and rules; "custom" is the empty profile; nothing for an unknown name.
std::optional<Profile> ProfileByName(std::string_view name);

// A threshold or limit as text: shortest form that reads back the same ("8", "-0.5").
std::string NumberText(double value);

} // namespace velkor::analysis
