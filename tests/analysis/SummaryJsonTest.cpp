#include "analysis/SummaryJson.h"
#include "tests/TestDates.h"

#include <gtest/gtest.h>

namespace velkor::analysis {
namespace {

TEST(SummaryJsonTest, RoundsHalfAwayFromZeroOnTheDecimalValue) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {2.675, "2.68"},   {-2.675, "-2.68"},  {1.005, "1.01"},      {0.125, "0.13"},
        {-0.125, "-0.13"}, {2.5, "2.5"},       {25, "25"},           {-8.7735, "-8.77"},
        {-0.004, "0"},     {-0.005, "-0.01"},  {0.0049999, "0"},     {1e-300, "0"},
        {99.995, "100"},   {3276.7, "3276.7"}, {-3276.8, "-3276.8"}, {123456.789, "123456.79"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(RoundedText(c.value), c.text);
    }
}

TEST(SummaryJsonTest, WritesTheSchema) {
    const double t0 = test::At(2026, 5, 1, 8, 0);
    auto at = [&](int minute) { return t0 + minute * 60 * OneSecond; };
    // Four readings a minute apart, then one after a gap of three minutes.
    std::vector<Sample> samples = {{at(0), 7.5, 45.0},
                                   {at(1), 8.125, 47.5},
                                   {at(2), 9.0, 50.0},
                                   {at(3), 1.995, 0.0},
                                   {at(7), 5.0, 55.0}};
    Options options;
    options.profile.limits = Range{2, 8};
    options.profile.rules = {*ParseAlarmRule("above,8,2m,single"),
                             *ParseAlarmRule("below,2,0,cumulative")};
    std::string json = SummaryJson(Summarize(samples, options), SourceFacts{2, 7});
    EXPECT_EQ(
        json,
        R"({"samples":5,"duplicates":0,"bad_lines":{"count":2,"first_line":7},)"
        R"("first":"2026-05-01 08:00:00","last":"2026-05-01 08:07:00","interval_s":60,)"
        R"("gaps":[{"after":"2026-05-01 08:03:00","before":"2026-05-01 08:07:00","missing_s":180}],)"
        R"("temperature_c":{"min":2,"min_time":"2026-05-01 08:03:00","max":9,)"
        R"("max_time":"2026-05-01 08:02:00","mean":6.32,"sd":2.84,"mkt":6.68},)"
        R"("humidity_pct":{"min":0,"min_time":"2026-05-01 08:03:00","max":55,)"
        R"("max_time":"2026-05-01 08:07:00","mean":39.5,"sd":22.39},)"
        R"("dew_point_c":{"min":-3.69,"min_time":"2026-05-01 08:00:00","max":-0.88,)"
        R"("max_time":"2026-05-01 08:02:00","mean":-2.56,"sd":1.25},)"
        R"("limits":{"low":2,"high":8,"time_below_s":60,"time_above_s":120,)"
        R"("excursions":[{"start":"2026-05-01 08:01:00","end":"2026-05-01 08:02:00",)"
        R"("duration_s":120,"side":"above","extreme":9},{"start":"2026-05-01 08:03:00",)"
        R"("end":"2026-05-01 08:03:00","duration_s":60,"side":"below","extreme":2}]},)"
        R"("alarms":[{"rule":"above,8,2m,single","triggered":true,"at":"2026-05-01 08:02:00",)"
        R"("time_s":120},{"rule":"below,2,0s,cumulative","triggered":true,)"
        R"("at":"2026-05-01 08:03:00","time_s":60}]})"
        "\n");
}

TEST(SummaryJsonTest, LeavesOutWhatWasNotAskedOrMeasured) {
    std::vector<Sample> samples = {{test::At(2026, 5, 1, 8, 0), 20.0, 0.0}};
    std::string json = SummaryJson(Summarize(samples, Options{}));
    EXPECT_EQ(json, R"({"samples":1,"duplicates":0,"bad_lines":{"count":0,"first_line":null},)"
                    R"("first":"2026-05-01 08:00:00","last":"2026-05-01 08:00:00","interval_s":0,)"
                    R"("gaps":[],"temperature_c":{"min":20,"min_time":"2026-05-01 08:00:00",)"
                    R"("max":20,"max_time":"2026-05-01 08:00:00","mean":20,"sd":null,"mkt":20}})"
                    "\n");
}

} // namespace
} // namespace velkor::analysis
