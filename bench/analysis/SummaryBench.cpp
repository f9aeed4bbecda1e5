// The summary of measurements already in memory: 10,000,000 readings (goal: at most 1 s), and
// the window's recompute of 1,000,000 readings after a zoom or pan (goal: at most 50 ms). The
// readings are a minute apart with a fridge's daily cycle and occasional excursions, under the
// 2-8 °C limits, a humidity range and four alarm rules: every part of the summary works.

#include "analysis/Summary.h"
#include "platform/DateTime.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace {

using namespace velkor;
using namespace velkor::analysis;

std::vector<Sample> Readings(std::size_t count) {
    std::vector<Sample> samples(count);
    double start = 0;
    TryEncodeDate(2026, 1, 1, start);
    for (std::size_t i = 0; i < count; ++i) {
        double minute = static_cast<double>(i);
        // Tenths, as the logger gives them.
        double celsius = std::round(50 + 25 * std::sin(minute / 229.0) + (i % 997 == 0 ? 60 : 0));
        double humidity = std::round(550 + 100 * std::cos(minute / 311.0));
        samples[i] = {start + minute * 60 * OneSecond, celsius / 10, humidity / 10};
    }
    return samples;
}

Options FridgeOptions() {
    Options options;
    options.profile = *ProfileByName("2-8");
    options.profile.humidityLimits = Range{40, 65};
    for (const char* rule :
         {"above,8,30m,single", "above,8,2h,cumulative", "below,2,1h,single", "below,0,0,single"}) {
        options.profile.rules.push_back(*ParseAlarmRule(rule));
    }
    return options;
}

void SummaryOf(benchmark::State& state) {
    const std::vector<Sample> samples = Readings(static_cast<std::size_t>(state.range(0)));
    const Options options = FridgeOptions();
    for (auto _ : state) {
        // The caller hands its readings over, as velkor-cli does from the file reader.
        state.PauseTiming();
        std::vector<Sample> copy = samples;
        state.ResumeTiming();
        Summary summary = Summarize(std::move(copy), options);
        benchmark::DoNotOptimize(summary);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(SummaryOf)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

// The dialog's recompute: the visible period of 1,000,000 readings out of 2,000,000.
void VisibleRecompute(benchmark::State& state) {
    const std::vector<Sample> samples = Readings(2'000'000);
    Options options = FridgeOptions();
    for (auto _ : state) {
        options.from = samples[500'000].time;
        options.to = samples[1'499'999].time;
        Summary summary = SummarizeSorted(samples, options);
        benchmark::DoNotOptimize(summary);
    }
}
BENCHMARK(VisibleRecompute)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
