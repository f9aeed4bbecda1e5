#include "analysis/Summary.h"
#include "analysis/SummaryJson.h"
#include "tests/TestDates.h"
#include "tests/analysis/FridgeWeek.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velkor::analysis {
namespace {

const double Start = test::At(2026, 1, 10, 12, 0);

double AtSecond(int seconds) {
    return Start + seconds * OneSecond;
}

// Readings at the given seconds after Start, humidity 50 %.
std::vector<Sample> Readings(const std::vector<int>& seconds, const std::vector<double>& celsius) {
    std::vector<Sample> samples;
    for (std::size_t i = 0; i < seconds.size(); ++i) {
        samples.push_back({AtSecond(seconds[i]), celsius.empty() ? 5.0 : celsius[i], 50.0});
    }
    return samples;
}

// Readings one minute apart.
std::vector<Sample> Minutely(const std::vector<double>& celsius) {
    std::vector<int> seconds;
    for (std::size_t i = 0; i < celsius.size(); ++i) {
        seconds.push_back(static_cast<int>(i) * 60);
    }
    return Readings(seconds, celsius);
}

TEST(SummaryTest, MeanKineticTemperatureVectors) {
    struct Case {
        std::vector<double> celsius;
        double deltaH;
        std::optional<double> mkt;
    };
    const Case cases[] = {
        {{25, 25, 25}, DefaultDeltaH, 25.00},
        {{20, 30}, DefaultDeltaH, 26.26},
        {{20, 20, 2, 2, 2, 2, 25}, DefaultDeltaH, 15.68},
        // A smaller activation energy weighs the warm reading less: nearer the mean of 25.
        {{20, 30}, 41.572, 25.61},
        {{}, DefaultDeltaH, std::nullopt},
        {{20, -273.15}, DefaultDeltaH, std::nullopt},
        {{20}, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.celsius) + " " + std::to_string(c.deltaH));
        std::optional<double> mkt = MeanKineticTemperature(c.celsius, c.deltaH);
        ASSERT_EQ(mkt.has_value(), c.mkt.has_value());
        if (mkt) {
            EXPECT_EQ(RoundHalfAway(*mkt, 2), *c.mkt);
        }
    }
}

TEST(SummaryTest, DewPointVectors) {
    struct Case {
        double celsius, humidity;
        std::optional<double> dewPoint;
    };
    const Case cases[] = {
        {25, 10, -8.77},       {50, 90, 47.90},        {20, 100, 20.00},
        {25, 0, std::nullopt}, {25, -1, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.celsius) + " °C " + std::to_string(c.humidity) + " %");
        std::optional<double> dew = DewPoint(c.celsius, c.humidity);
        ASSERT_EQ(dew.has_value(), c.dewPoint.has_value());
        if (dew) {
            EXPECT_EQ(RoundHalfAway(*dew, 2), *c.dewPoint);
        }
    }
}

TEST(SummaryTest, IntervalDuplicatesAndGaps) {
    struct Case {
        std::vector<int> seconds; // in the order given
        std::int64_t interval;
        std::size_t duplicates;
        std::vector<std::array<int, 3>> gaps; // after, before, missing
    };
    const Case cases[] = {
        {{0, 60, 120, 180}, 60, 0, {}},
        {{0, 60, 60, 120, 300}, 60, 1, {{120, 300, 120}}},
        {{0, 60, 150, 240}, 90, 0, {}},
        // Even count: the lower of the two middle spacings.
        {{0, 60, 120, 240, 360}, 60, 0, {{120, 240, 60}, {240, 360, 60}}},
        // Exactly 1.5 intervals is no gap.
        {{0, 60, 120, 210}, 60, 0, {}},
        {{0, 60, 120, 211}, 60, 0, {{120, 211, 31}}},
        {{120, 0, 60, 0}, 60, 1, {}},
        {{0}, 0, 0, {}},
        {{0, 0, 0}, 0, 2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.seconds));
        Summary summary = Summarize(Readings(c.seconds, {}), Options{});
        EXPECT_EQ(summary.intervalSeconds, c.interval);
        EXPECT_EQ(summary.duplicates, c.duplicates);
        EXPECT_EQ(summary.samples, c.seconds.size() - c.duplicates);
        ASSERT_EQ(summary.gaps.size(), c.gaps.size());
        for (std::size_t i = 0; i < c.gaps.size(); ++i) {
            EXPECT_DOUBLE_EQ(summary.gaps[i].after, AtSecond(c.gaps[i][0]));
            EXPECT_DOUBLE_EQ(summary.gaps[i].before, AtSecond(c.gaps[i][1]));
            EXPECT_EQ(summary.gaps[i].missingSeconds, c.gaps[i][2]);
        }
    }
}

TEST(SummaryTest, StatisticsPerQuantity) {
    struct Case {
        std::vector<double> values;
        double min;
        int minAt; // minute of the first minimum
        double max;
        int maxAt;
        double mean;
        std::optional<double> sd;
    };
    const Case cases[] = {
        {{5, 3, 7, 3, 7}, 3, 1, 7, 2, 5, 2},
        {{-1.5}, -1.5, 0, -1.5, 0, -1.5, std::nullopt},
        {{1, 2, 3, 4}, 1, 0, 4, 3, 2.5, std::sqrt(5.0 / 3.0)},
        {{2, 2}, 2, 0, 2, 0, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.values));
        // The same values as temperature and as humidity.
        std::vector<Sample> samples = Minutely(c.values);
        for (Sample& sample : samples) {
            sample.humidity = sample.celsius;
        }
        Summary summary = Summarize(samples, Options{});
        for (const Statistics* stats : {&summary.temperature, &summary.humidity}) {
            EXPECT_EQ(stats->count, c.values.size());
            EXPECT_EQ(stats->min, c.min);
            EXPECT_DOUBLE_EQ(stats->minTime, AtSecond(c.minAt * 60));
            EXPECT_EQ(stats->max, c.max);
            EXPECT_DOUBLE_EQ(stats->maxTime, AtSecond(c.maxAt * 60));
            EXPECT_DOUBLE_EQ(stats->mean, c.mean);
            ASSERT_EQ(stats->sd.has_value(), c.sd.has_value());
            if (c.sd) {
                EXPECT_NEAR(*stats->sd, *c.sd, 1e-12);
            }
        }
    }
}

TEST(SummaryTest, HumidityOnlyWhenMeasuredAndAskedFor) {
    struct Case {
        std::vector<double> humidity;
        bool asked;
        bool hasHumidity;
        std::size_t dewPoints;
    };
    const Case cases[] = {
        {{0, 0, 0}, true, false, 0},
        {{0, 40, 0}, true, true, 1},
        {{30, 40, 50}, false, false, 0},
        {{-1, 40, 50}, true, true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.humidity));
        std::vector<Sample> samples = Minutely({20, 20, 20});
        for (std::size_t i = 0; i < samples.size(); ++i) {
            samples[i].humidity = c.humidity[i];
        }
        Options options;
        options.humidity = c.asked;
        Summary summary = Summarize(samples, options);
        EXPECT_EQ(summary.hasHumidity, c.hasHumidity);
        EXPECT_EQ(summary.humidity.count, c.hasHumidity ? 3u : 0u);
        EXPECT_EQ(summary.dewPoint.count, c.dewPoints);
    }
}

struct ExpectedExcursion {
    int first, last; // minutes
    Side side;
    double extreme;
    std::int64_t duration;
};

TEST(SummaryTest, LimitsAndExcursions) {
    struct Case {
        std::vector<int> seconds; // empty: one a minute
        std::vector<double> celsius;
        std::int64_t below, above;
        std::vector<ExpectedExcursion> excursions;
    };
    const Case cases[] = {
        // On the limits is in range; the other side ends an excursion.
        {{},
         {5, 8, 8.1, 9, 5, 2, 1.9, 1.5, 9, 9.5, 5},
         120,
         240,
         {{2, 3, Side::Above, 9, 120},
          {6, 7, Side::Below, 1.5, 120},
          {8, 9, Side::Above, 9.5, 120}}},
        {{}, {1, 0.5, 9}, 120, 60, {{0, 1, Side::Below, 0.5, 120}, {2, 2, Side::Above, 9, 60}}},
        {{}, {2, 8, 2, 8}, 0, 0, {}},
        // A gap ends an excursion: readings at 0, 1, 2 and 10 minutes (interval 1 minute).
        {{0, 60, 120, 600},
         {9, 9, 9, 10},
         0,
         240,
         {{0, 2, Side::Above, 9, 180}, {10, 10, Side::Above, 10, 60}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.celsius));
        std::vector<Sample> samples =
            c.seconds.empty() ? Minutely(c.celsius) : Readings(c.seconds, c.celsius);
        for (Sample& sample : samples) {
            sample.humidity = sample.celsius * 10; // the humidity range 20-80 sees the same
        }
        Options options;
        options.profile.limits = Range{2, 8};
        options.profile.humidityLimits = Range{20, 80};
        Summary summary = Summarize(samples, options);
        ASSERT_TRUE(summary.limits && summary.humidityLimits);
        for (const LimitResult* limits : {&*summary.limits, &*summary.humidityLimits}) {
            double scale = limits == &*summary.limits ? 1 : 10;
            EXPECT_EQ(limits->timeBelowSeconds, c.below);
            EXPECT_EQ(limits->timeAboveSeconds, c.above);
            ASSERT_EQ(limits->excursions.size(), c.excursions.size());
            for (std::size_t i = 0; i < c.excursions.size(); ++i) {
                const Excursion& got = limits->excursions[i];
                const ExpectedExcursion& want = c.excursions[i];
                EXPECT_DOUBLE_EQ(got.start, AtSecond(want.first * 60));
                EXPECT_DOUBLE_EQ(got.end, AtSecond(want.last * 60));
                EXPECT_EQ(got.side, want.side);
                EXPECT_DOUBLE_EQ(got.extreme, want.extreme * scale);
                EXPECT_EQ(got.durationSeconds, want.duration);
            }
        }
    }
}

TEST(SummaryTest, AlarmRules) {
    struct Case {
        const char* rule;
        std::vector<int> seconds; // empty: one a minute
        std::vector<double> celsius;
        int firedAt; // index of the reading, -1: not fired
        std::int64_t time;
    };
    const Case cases[] = {
        {"above,8,3m,single", {}, {9, 9, 5, 9, 9, 9}, 5, 300},
        {"above,8,3m,cumulative", {}, {9, 9, 5, 9, 9, 9}, 3, 300},
        {"above,8,2m,single", {}, {8, 8, 7.9}, 1, 120},
        {"above,8,0,single", {}, {5, 8.5, 9}, 1, 120},
        {"above,8,0,cumulative", {}, {5, 7.9}, -1, 0},
        {"below,2,0,single", {}, {3, 2, 1}, 1, 120},
        {"below,-0.5,1m,single", {}, {0, -0.4, -0.5}, 2, 60},
        {"above,8,1h,single", {}, {9, 9, 9}, -1, 180},
        // A gap resets a single stretch but not the cumulative total.
        {"above,8,3m,single", {0, 60, 300, 360}, {9, 9, 9, 9}, -1, 240},
        {"above,8,3m,cumulative", {0, 60, 300, 360}, {9, 9, 9, 9}, 2, 240},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " " + ::testing::PrintToString(c.celsius));
        std::vector<Sample> samples =
            c.seconds.empty() ? Minutely(c.celsius) : Readings(c.seconds, c.celsius);
        Options options;
        options.profile.rules = {*ParseAlarmRule(c.rule)};
        Summary summary = Summarize(samples, options);
        ASSERT_EQ(summary.alarms.size(), 1u);
        const AlarmResult& alarm = summary.alarms[0];
        EXPECT_EQ(alarm.rule, options.profile.rules[0]);
        EXPECT_EQ(alarm.triggered, c.firedAt >= 0);
        ASSERT_EQ(alarm.at.has_value(), c.firedAt >= 0);
        if (alarm.at) {
            EXPECT_DOUBLE_EQ(*alarm.at, samples[static_cast<std::size_t>(c.firedAt)].time);
        }
        EXPECT_EQ(alarm.timeSeconds, c.time);
    }
}

TEST(SummaryTest, PeriodIsInclusive) {
    struct Case {
        std::optional<int> from, to; // minutes
        std::size_t samples;
        int first, last;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, 10, 0, 9},
        {3, 6, 4, 3, 6},
        {3, std::nullopt, 7, 3, 9},
        {std::nullopt, 0, 1, 0, 0},
        {7, 3, 0, 0, 0},
    };
    std::vector<Sample> samples = Minutely({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    for (const Case& c : cases) {
        Options options;
        if (c.from) {
            options.from = AtSecond(*c.from * 60);
        }
        if (c.to) {
            options.to = AtSecond(*c.to * 60);
        }
        Summary summary = Summarize(samples, options);
        EXPECT_EQ(summary.samples, c.samples);
        EXPECT_EQ(summary.temperature.count, c.samples);
        if (c.samples > 0) {
            EXPECT_DOUBLE_EQ(summary.first, AtSecond(c.first * 60));
            EXPECT_DOUBLE_EQ(summary.last, AtSecond(c.last * 60));
            EXPECT_EQ(summary.temperature.min, c.first);
        }
    }
}

// The week's expected values come from fridge_week.py.
TEST(SummaryTest, FridgeWeek) {
    std::vector<test::FridgeReading> week = test::FridgeWeek();
    std::vector<Sample> samples;
    // Any order: every 7th reading first, then the rest, each run backwards; the duplicate
    // stays last, so the reading before it in time is the one kept.
    for (std::size_t i = week.size() - 1; i-- > 0;) {
        if (i % 7 == 0) {
            samples.push_back(
                {week[i].Time(), week[i].celsiusTenths / 10.0, week[i].humidityTenths / 10.0});
        }
    }
    for (std::size_t i = week.size() - 1; i-- > 0;) {
        if (i % 7 != 0) {
            samples.push_back(
                {week[i].Time(), week[i].celsiusTenths / 10.0, week[i].humidityTenths / 10.0});
        }
    }
    samples.push_back(
        {week.back().Time(), week.back().celsiusTenths / 10.0, week.back().humidityTenths / 10.0});
    Options options;
    options.profile = *ProfileByName("2-8");
    options.profile.humidityLimits = Range{40, 70};
    for (const char* rule : {"above,8,10m,single", "above,8,45m,cumulative", "below,2,1h,single",
                             "below,0,0,single", "above,10,15m,single"}) {
        options.profile.rules.push_back(*ParseAlarmRule(rule));
    }
    Summary summary = Summarize(samples, options);

    EXPECT_EQ(summary.samples, 1980u);
    EXPECT_EQ(summary.duplicates, 1u);
    EXPECT_EQ(TimeText(summary.first), "2026-03-02 00:00:00");
    EXPECT_EQ(TimeText(summary.last), "2026-03-08 23:55:00");
    EXPECT_EQ(summary.intervalSeconds, 300);
    ASSERT_EQ(summary.gaps.size(), 1u);
    EXPECT_EQ(TimeText(summary.gaps[0].after), "2026-03-05 10:00:00");
    EXPECT_EQ(TimeText(summary.gaps[0].before), "2026-03-05 13:05:00");
    EXPECT_EQ(summary.gaps[0].missingSeconds, 10800);

    struct ExpectedStatistics {
        const Statistics& got;
        double min;
        const char* minTime;
        double max;
        const char* maxTime;
        double mean, sd;
    };
    const ExpectedStatistics statistics[] = {
        {summary.temperature, -0.8, "2026-03-07 23:55:00", 10.4, "2026-03-04 02:15:00",
         4.429898989899, 1.131891051337},
        {summary.humidity, 53.0, "2026-03-02 00:00:00", 71.6, "2026-03-03 12:30:00",
         55.150757575758, 1.897266572337},
        {summary.dewPoint, -9.200769340720, "2026-03-08 02:55:00", 3.753702342471,
         "2026-03-03 12:30:00", -3.805798908029, 1.245803094350},
    };
    for (const ExpectedStatistics& want : statistics) {
        EXPECT_EQ(want.got.count, 1980u);
        EXPECT_NEAR(want.got.min, want.min, 1e-9);
        EXPECT_EQ(TimeText(want.got.minTime), want.minTime);
        EXPECT_NEAR(want.got.max, want.max, 1e-9);
        EXPECT_EQ(TimeText(want.got.maxTime), want.maxTime);
        EXPECT_NEAR(want.got.mean, want.mean, 1e-9);
        EXPECT_NEAR(want.got.sd.value_or(0), want.sd, 1e-9);
    }
    EXPECT_NEAR(summary.mkt.value_or(0), 4.503647307515, 1e-9);

    struct ExpectedRun {
        const char* start;
        const char* end;
        std::int64_t duration;
        Side side;
        double extreme;
    };
    const Side above = Side::Above, below = Side::Below;
    const ExpectedRun temperature[] = {
        {"2026-03-02 12:30:00", "2026-03-02 12:30:00", 300, above, 8.3},
        {"2026-03-02 18:00:00", "2026-03-02 18:00:00", 300, above, 8.3},
        {"2026-03-03 08:00:00", "2026-03-03 08:00:00", 300, above, 8.2},
        {"2026-03-03 12:30:00", "2026-03-03 12:30:00", 300, above, 8.6},
        {"2026-03-03 15:15:00", "2026-03-03 15:15:00", 300, above, 8.1},
        {"2026-03-03 18:00:00", "2026-03-03 18:00:00", 300, above, 8.6},
        {"2026-03-04 02:05:00", "2026-03-04 02:20:00", 1200, above, 10.4},
        {"2026-03-04 08:00:00", "2026-03-04 08:00:00", 300, above, 8.5},
        {"2026-03-05 08:00:00", "2026-03-05 08:00:00", 300, above, 8.8},
        {"2026-03-05 09:55:00", "2026-03-05 10:00:00", 600, above, 8.5},
        {"2026-03-05 13:05:00", "2026-03-05 13:10:00", 600, above, 9.0},
        {"2026-03-05 18:00:00", "2026-03-05 18:00:00", 300, above, 8.1},
        {"2026-03-06 12:30:00", "2026-03-06 12:30:00", 300, above, 8.4},
        {"2026-03-06 18:00:00", "2026-03-06 18:00:00", 300, above, 8.4},
        {"2026-03-07 08:00:00", "2026-03-07 08:00:00", 300, above, 8.3},
        {"2026-03-07 12:30:00", "2026-03-07 12:30:00", 300, above, 8.7},
        {"2026-03-07 18:00:00", "2026-03-07 18:00:00", 300, above, 8.7},
        {"2026-03-07 22:00:00", "2026-03-08 03:55:00", 21600, below, -0.8},
        {"2026-03-08 08:00:00", "2026-03-08 08:00:00", 300, above, 8.6},
        {"2026-03-08 09:05:00", "2026-03-08 09:05:00", 300, below, 1.9},
    };
    const ExpectedRun humidity[] = {
        {"2026-03-02 12:30:00", "2026-03-02 12:30:00", 300, above, 70.3},
        {"2026-03-03 08:00:00", "2026-03-03 08:00:00", 300, above, 71.1},
        {"2026-03-03 12:30:00", "2026-03-03 12:30:00", 300, above, 71.6},
        {"2026-03-03 18:00:00", "2026-03-03 18:00:00", 300, above, 71.3},
        {"2026-03-06 08:00:00", "2026-03-06 08:00:00", 300, above, 70.9},
        {"2026-03-06 12:30:00", "2026-03-06 12:30:00", 300, above, 71.4},
        {"2026-03-06 18:00:00", "2026-03-06 18:00:00", 300, above, 71.1},
    };
    struct ExpectedLimits {
        const std::optional<LimitResult>& got;
        std::int64_t below, above;
        std::span<const ExpectedRun> runs;
    };
    for (const ExpectedLimits& want : {ExpectedLimits{summary.limits, 21900, 6900, temperature},
                                       ExpectedLimits{summary.humidityLimits, 0, 2100, humidity}}) {
        ASSERT_TRUE(want.got);
        EXPECT_EQ(want.got->timeBelowSeconds, want.below);
        EXPECT_EQ(want.got->timeAboveSeconds, want.above);
        ASSERT_EQ(want.got->excursions.size(), want.runs.size());
        for (std::size_t i = 0; i < want.runs.size(); ++i) {
            const Excursion& got = want.got->excursions[i];
            EXPECT_EQ(TimeText(got.start), want.runs[i].start);
            EXPECT_EQ(TimeText(got.end), want.runs[i].end);
            EXPECT_EQ(got.durationSeconds, want.runs[i].duration);
            EXPECT_EQ(got.side, want.runs[i].side);
            EXPECT_NEAR(got.extreme, want.runs[i].extreme, 1e-9);
        }
    }

    struct ExpectedAlarm {
        const char* at; // nullptr: not fired
        std::int64_t time;
    };
    const ExpectedAlarm alarms[] = {{"2026-03-03 15:05:00", 8100},
                                    {"2026-03-04 02:05:00", 8100},
                                    {"2026-03-07 22:55:00", 22800},
                                    {"2026-03-07 23:15:00", 14700},
                                    {nullptr, 600}};
    ASSERT_EQ(summary.alarms.size(), std::size(alarms));
    for (std::size_t i = 0; i < std::size(alarms); ++i) {
        EXPECT_EQ(summary.alarms[i].triggered, alarms[i].at != nullptr);
        EXPECT_EQ(summary.alarms[i].at ? TimeText(*summary.alarms[i].at) : "",
                  alarms[i].at ? alarms[i].at : "");
        EXPECT_EQ(summary.alarms[i].timeSeconds, alarms[i].time);
    }

    struct ExpectedDay {
        const char* day;
        std::size_t samples;
        double min, max, mean;
        std::int64_t below, above;
    };
    const ExpectedDay days[] = {
        {"2026-03-02 00:00:00", 288, 4.0, 8.3, 4.580208333333, 0, 600},
        {"2026-03-03 00:00:00", 288, 2.0, 8.6, 4.609375000000, 0, 1200},
        {"2026-03-04 00:00:00", 288, 4.0, 10.4, 4.674305555556, 0, 1500},
        {"2026-03-05 00:00:00", 252, 4.0, 9.0, 4.628968253968, 0, 1800},
        {"2026-03-06 00:00:00", 288, 4.0, 8.4, 4.580902777778, 0, 600},
        {"2026-03-07 00:00:00", 288, -0.8, 8.7, 4.235416666667, 7200, 900},
        {"2026-03-08 00:00:00", 288, -0.8, 8.6, 3.725000000000, 14700, 300},
    };
    ASSERT_EQ(summary.days.size(), std::size(days));
    for (std::size_t i = 0; i < std::size(days); ++i) {
        const DaySummary& got = summary.days[i];
        EXPECT_EQ(TimeText(got.day), days[i].day);
        EXPECT_EQ(got.temperature.count, days[i].samples);
        EXPECT_EQ(got.humidity.count, days[i].samples);
        EXPECT_NEAR(got.temperature.min, days[i].min, 1e-9);
        EXPECT_NEAR(got.temperature.max, days[i].max, 1e-9);
        EXPECT_NEAR(got.temperature.mean, days[i].mean, 1e-9);
        EXPECT_EQ(got.timeBelowSeconds, days[i].below);
        EXPECT_EQ(got.timeAboveSeconds, days[i].above);
    }
}

} // namespace
} // namespace velkor::analysis
