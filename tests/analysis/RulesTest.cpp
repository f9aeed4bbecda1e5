#include "analysis/Rules.h"

#include <gtest/gtest.h>

namespace velkor::analysis {
namespace {

TEST(AlarmRuleTest, ParsesTheWrittenFormAndWritesItBack) {
    struct Case {
        const char* text;
        std::optional<AlarmRule> rule;
        const char* written; // AlarmRuleText of the rule
    };
    const Case cases[] = {
        {"above,8,30m,single", AlarmRule{Side::Above, 8, 1800, RuleMode::Single}, nullptr},
        {"below,-0.5,1h,cumulative", AlarmRule{Side::Below, -0.5, 3600, RuleMode::Cumulative},
         nullptr},
        {"above,45,0,single", AlarmRule{Side::Above, 45, 0, RuleMode::Single},
         "above,45,0s,single"},
        {"above,30,90s,cumulative", AlarmRule{Side::Above, 30, 90, RuleMode::Cumulative}, nullptr},
        {"above,30,120s,cumulative", AlarmRule{Side::Above, 30, 120, RuleMode::Cumulative},
         "above,30,2m,cumulative"},
        {"below,-0.0,60m,single", AlarmRule{Side::Below, 0, 3600, RuleMode::Single},
         "below,0,1h,single"},
        {"above,2.25,7,single", AlarmRule{Side::Above, 2.25, 7, RuleMode::Single},
         "above,2.25,7s,single"},
        {"above,8,30m", std::nullopt, nullptr},
        {"above,8,30m,single,", std::nullopt, nullptr},
        {"Above,8,30m,single", std::nullopt, nullptr},
        {"over,8,30m,single", std::nullopt, nullptr},
        {"above,,30m,single", std::nullopt, nullptr},
        {"above,8.,30m,single", AlarmRule{Side::Above, 8, 1800, RuleMode::Single},
         "above,8,30m,single"},
        {"above,.,30m,single", std::nullopt, nullptr},
        {"above,8 ,30m,single", std::nullopt, nullptr},
        {"above,+8,30m,single", std::nullopt, nullptr},
        {"above,1e3,30m,single", std::nullopt, nullptr},
        {"above,nan,30m,single", std::nullopt, nullptr},
        {"above,8,30d,single", std::nullopt, nullptr},
        {"above,8,-5m,single", std::nullopt, nullptr},
        {"above,8,m,single", std::nullopt, nullptr},
        {"above,8,1.5h,single", std::nullopt, nullptr},
        {"above,8,99999999h,single", std::nullopt, nullptr},
        {"above,8,30m,once", std::nullopt, nullptr},
        {"", std::nullopt, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::optional<AlarmRule> rule = ParseAlarmRule(c.text);
        EXPECT_EQ(rule, c.rule);
        if (rule) {
            std::string written = AlarmRuleText(*rule);
            EXPECT_EQ(written, c.written ? c.written : c.text);
            EXPECT_EQ(ParseAlarmRule(written), rule);
        }
    }
}

TEST(AlarmRuleTest, DelayUnitsAndLimit) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> seconds;
    };
    const Case cases[] = {
        {"0", 0},       {"45", 45},   {"45s", 45},
        {"30m", 1800},  {"2h", 7200}, {"0h", 0},
        {"h", {}},      {"1H", {}},   {"87840h", MaxDelaySeconds},
        {"87841h", {}}, {"1 h", {}},  {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseDelay(c.text), c.seconds);
    }
}

TEST(ProfileTest, PresetsHoldTheirLimitsAndRules) {
    auto rule = [](const char* text) { return *ParseAlarmRule(text); };
    struct Case {
        const char* name;
        std::optional<Range> limits;
        std::vector<const char*> rules;
    };
    const Case cases[] = {
        {"2-8", Range{2, 8}, {}},
        {"15-25", Range{15, 25}, {}},
        {"who-type1",
         std::nullopt,
         {"above,45,1h,single", "above,30,10h,cumulative", "below,-0.5,1h,single"}},
        {"who-type2",
         std::nullopt,
         {"above,45,1h,single", "above,30,10h,cumulative", "above,10,20h,cumulative"}},
        {"custom", std::nullopt, {}},
    };
    ASSERT_EQ(ProfileNames().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ProfileNames()[i], c.name);
        std::optional<Profile> profile = ProfileByName(c.name);
        ASSERT_TRUE(profile);
        EXPECT_EQ(profile->limits, c.limits);
        EXPECT_FALSE(profile->humidityLimits);
        ASSERT_EQ(profile->rules.size(), c.rules.size());
        for (std::size_t r = 0; r < c.rules.size(); ++r) {
            EXPECT_EQ(profile->rules[r], rule(c.rules[r]));
        }
    }
    EXPECT_FALSE(ProfileByName("2-8 "));
    EXPECT_FALSE(ProfileByName("WHO-type1"));
}

} // namespace
} // namespace velkor::analysis
