#include "analysis/Summary.h"

#include "platform/DateTime.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace velkor::analysis {

namespace {

// Up to half a millisecond around the period's ends still counts as inside.
constexpr double PeriodTolerance = 0.0005 / SecondsPerDay;

std::int64_t SpacingSeconds(double from, double to) {
    return std::llround((to - from) * SecondsPerDay);
}

// The samples of the period: sorted samples, so two binary searches find it.
std::span<const Sample> InPeriod(std::span<const Sample> samples, const Options& options) {
    auto begin = samples.begin();
    auto end = samples.end();
    if (options.from) {
        const double from = *options.from - PeriodTolerance;
        begin = std::partition_point(begin, end, [&](const Sample& s) { return s.time < from; });
    }
    if (options.to) {
        const double to = *options.to + PeriodTolerance;
        end = std::partition_point(begin, end, [&](const Sample& s) { return s.time <= to; });
    }
    return {begin, end};
}

// Calls visit(sample, spacingSeconds) for each sample, with -1 for a sample at the time (to
// the second) of the sample kept before it. The first one's spacing is 0.
template <typename Visit> void ForEachKept(std::span<const Sample> samples, Visit visit) {
    bool any = false;
    double previous = 0;
    for (const Sample& sample : samples) {
        std::int64_t spacing = any ? SpacingSeconds(previous, sample.time) : 0;
        if (any && spacing == 0) {
            visit(sample, -1);
            continue;
        }
        visit(sample, spacing);
        previous = sample.time;
        any = true;
    }
}

class Accumulator {
public:
    void Add(double value, double time) {
        if (stats_.count == 0) {
            stats_.min = stats_.max = shift_ = value;
            stats_.minTime = stats_.maxTime = time;
        } else if (value < stats_.min) {
            stats_.min = value;
            stats_.minTime = time;
        } else if (value > stats_.max) {
            stats_.max = value;
            stats_.maxTime = time;
        }
        ++stats_.count;
        // Sums of the values less the first one: no cancellation for readings that stay
        // near each other, and no division per reading.
        double shifted = value - shift_;
        sum_ += shifted;
        squares_ += shifted * shifted;
    }

    Statistics Result() const {
        Statistics result = stats_;
        if (stats_.count == 0) {
            return result;
        }
        double n = static_cast<double>(stats_.count);
        result.mean = shift_ + sum_ / n;
        if (stats_.count >= 2) {
            double variance = (squares_ - sum_ * sum_ / n) / (n - 1);
            result.sd = std::sqrt(std::max(variance, 0.0));
        }
        return result;
    }

private:
    Statistics stats_;
    double shift_ = 0;
    double sum_ = 0;
    double squares_ = 0;
};

class LimitAccount {
public:
    LimitAccount(Range range, std::int64_t interval) : interval_(interval) {
        result_.range = range;
    }

    void Add(double value, double time, bool gapBefore) {
        std::optional<Side> side;
        if (value < result_.range.low) {
            side = Side::Below;
            result_.timeBelowSeconds += interval_;
        } else if (value > result_.range.high) {
            side = Side::Above;
            result_.timeAboveSeconds += interval_;
        }
        if (open_ && (!side || *side != open_->side || gapBefore)) {
            Close();
        }
        if (!side) {
            return;
        }
        if (!open_) {
            open_ = Excursion{time, time, 0, *side, value};
        }
        open_->end = time;
        open_->durationSeconds += interval_;
        open_->extreme = *side == Side::Above ? std::max(open_->extreme, value)
                                              : std::min(open_->extreme, value);
    }

    LimitResult Finish() {
        Close();
        return std::move(result_);
    }

private:
    void Close() {
        if (open_) {
            result_.excursions.push_back(*open_);
            open_.reset();
        }
    }

    std::int64_t interval_;
    LimitResult result_;
    std::optional<Excursion> open_;
};

class AlarmAccount {
public:
    AlarmAccount(const AlarmRule& rule, std::int64_t interval) : interval_(interval) {
        result_.rule = rule;
    }

    void Add(double celsius, double time, bool gapBefore) {
        const AlarmRule& rule = result_.rule;
        bool beyond =
            rule.side == Side::Above ? celsius >= rule.threshold : celsius <= rule.threshold;
        if (!beyond || gapBefore) {
            stretch_ = 0;
        }
        if (!beyond) {
            return;
        }
        stretch_ += interval_;
        result_.timeSeconds += interval_;
        std::int64_t counted = rule.mode == RuleMode::Single ? stretch_ : result_.timeSeconds;
        if (!result_.triggered && counted >= rule.delaySeconds) {
            result_.triggered = true;
            result_.at = time;
        }
    }

    const AlarmResult& Result() const { return result_; }

private:
    std::int64_t interval_;
    std::int64_t stretch_ = 0;
    AlarmResult result_;
};

class DayAccount {
public:
    DayAccount(const std::optional<Range>& limits, std::int64_t interval, bool humidity)
        : limits_(limits), interval_(interval), humidity_(humidity) {}

    void Add(const Sample& sample, std::vector<DaySummary>& days) {
        double day = std::floor(sample.time);
        if (!open_ || day != current_.day) {
            Flush(days);
            current_ = DaySummary{};
            current_.day = day;
            temperature_ = Accumulator{};
            humidityStats_ = Accumulator{};
            open_ = true;
        }
        temperature_.Add(sample.celsius, sample.time);
        if (humidity_) {
            humidityStats_.Add(sample.humidity, sample.time);
        }
        if (limits_) {
            if (sample.celsius < limits_->low) {
                current_.timeBelowSeconds += interval_;
            } else if (sample.celsius > limits_->high) {
                current_.timeAboveSeconds += interval_;
            }
        }
    }

    void Flush(std::vector<DaySummary>& days) {
        if (open_) {
            current_.temperature = temperature_.Result();
            current_.humidity = humidityStats_.Result();
            days.push_back(current_);
            open_ = false;
        }
    }

private:
    std::optional<Range> limits_;
    std::int64_t interval_;
    bool humidity_;
    bool open_ = false;
    DaySummary current_;
    Accumulator temperature_, humidityStats_;
};

// The lower median of the non-zero spacings. Spacings mostly repeat one value, so they are
// counted rather than stored.
std::int64_t LowerMedian(const std::unordered_map<std::int64_t, std::size_t>& counts,
                         std::size_t total) {
    if (total == 0) {
        return 0;
    }
    std::vector<std::pair<std::int64_t, std::size_t>> sorted(counts.begin(), counts.end());
    std::sort(sorted.begin(), sorted.end());
    std::size_t rank = (total - 1) / 2; // zero-based; the lower one of an even count
    for (const auto& [spacing, count] : sorted) {
        if (rank < count) {
            return spacing;
        }
        rank -= count;
    }
    return sorted.back().first;
}

} // namespace

double ToFahrenheit(double celsius) {
    return celsius * 9.0 / 5.0 + 32.0;
}

Statistics ToFahrenheit(const Statistics& celsius) {
    Statistics result = celsius;
    result.min = ToFahrenheit(celsius.min);
    result.max = ToFahrenheit(celsius.max);
    result.mean = ToFahrenheit(celsius.mean);
    if (celsius.sd) {
        result.sd = *celsius.sd * 9.0 / 5.0;
    }
    return result;
}

std::optional<double> DewPoint(double celsius, double humidity) {
    if (!(humidity > 0)) {
        return std::nullopt;
    }
    double gamma = std::log(humidity / 100.0) + 17.62 * celsius / (243.12 + celsius);
    double result = 243.12 * gamma / (17.62 - gamma);
    if (!std::isfinite(result)) {
        return std::nullopt;
    }
    return result;
}

namespace {

constexpr double AbsoluteZero = 273.15;

class MktAccount {
public:
    explicit MktAccount(double deltaH) : ratio_(deltaH / GasConstant) {
        valid_ = std::isfinite(ratio_) && ratio_ > 0;
    }
    void Add(double celsius) {
        double kelvin = celsius + AbsoluteZero;
        if (!(kelvin > 0)) {
            valid_ = false; // at or below absolute zero there is no kinetic temperature
            return;
        }
        // Readings repeat from one to the next: the term is worked out once for a run.
        if (celsius != lastCelsius_) {
            lastCelsius_ = celsius;
            lastTerm_ = std::exp(-ratio_ / kelvin);
        }
        sum_ += lastTerm_;
        ++count_;
    }
    std::optional<double> Result() const {
        if (!valid_ || count_ == 0) {
            return std::nullopt;
        }
        double mean = sum_ / static_cast<double>(count_);
        double kelvin = ratio_ / -std::log(mean);
        if (!(mean > 0) || !std::isfinite(kelvin)) {
            return std::nullopt;
        }
        return kelvin - AbsoluteZero;
    }

private:
    double ratio_;
    bool valid_ = true;
    double sum_ = 0;
    std::size_t count_ = 0;
    double lastCelsius_ = NAN;
    double lastTerm_ = 0;
};

} // namespace

std::optional<double> MeanKineticTemperature(std::span<const double> celsius, double deltaH) {
    MktAccount account(deltaH);
    for (double value : celsius) {
        account.Add(value);
    }
    return account.Result();
}

namespace {

// Consecutive readings mostly repeat: the dew point is worked out once for a run.
class DewPointCache {
public:
    std::optional<double> operator()(double celsius, double humidity) {
        if (celsius != celsius_ || humidity != humidity_) {
            celsius_ = celsius;
            humidity_ = humidity;
            dewPoint_ = DewPoint(celsius, humidity);
        }
        return dewPoint_;
    }

private:
    double celsius_ = NAN, humidity_ = NAN;
    std::optional<double> dewPoint_;
};

} // namespace

Summary SummarizeSorted(std::span<const Sample> samples, const Options& options) {
    Summary summary;
    summary.deltaH = options.deltaH;
    const std::span<const Sample> period = InPeriod(samples, options);

    // First pass: the count, the duplicates, the ends, whether there is humidity, the interval.
    std::unordered_map<std::int64_t, std::size_t> spacings;
    std::size_t spacingCount = 0;
    std::int64_t lastSpacing = -2;
    std::size_t* lastCount = nullptr;
    bool anyHumidity = false;
    ForEachKept(period, [&](const Sample& sample, std::int64_t spacing) {
        if (spacing < 0) {
            ++summary.duplicates;
            return;
        }
        if (summary.samples == 0) {
            summary.first = sample.time;
        }
        summary.last = sample.time;
        ++summary.samples;
        anyHumidity = anyHumidity || sample.humidity != 0.0;
        if (spacing > 0) {
            if (spacing != lastSpacing) {
                lastCount = &spacings[spacing];
                lastSpacing = spacing;
            }
            ++*lastCount;
            ++spacingCount;
        }
    });
    const std::int64_t interval = LowerMedian(spacings, spacingCount);
    summary.intervalSeconds = interval;
    summary.hasHumidity = options.humidity && anyHumidity;

    // Second pass: everything else.
    Accumulator temperature, humidity, dewPoint;
    MktAccount mkt(options.deltaH);
    DewPointCache dewPoints;
    std::optional<LimitAccount> limits, humidityLimits;
    if (options.profile.limits) {
        limits.emplace(*options.profile.limits, interval);
    }
    if (options.profile.humidityLimits && summary.hasHumidity) {
        humidityLimits.emplace(*options.profile.humidityLimits, interval);
    }
    std::vector<AlarmAccount> alarms;
    for (const AlarmRule& rule : options.profile.rules) {
        alarms.emplace_back(rule, interval);
    }
    DayAccount days(options.profile.limits, interval, summary.hasHumidity);
    double previous = 0;
    ForEachKept(period, [&](const Sample& sample, std::int64_t spacing) {
        if (spacing < 0) {
            return;
        }
        bool gapBefore = spacing > 0 && 2 * spacing > 3 * interval;
        if (gapBefore) {
            summary.gaps.push_back(Gap{previous, sample.time, spacing - interval});
        }
        previous = sample.time;
        temperature.Add(sample.celsius, sample.time);
        mkt.Add(sample.celsius);
        if (summary.hasHumidity) {
            humidity.Add(sample.humidity, sample.time);
            if (std::optional<double> dew = dewPoints(sample.celsius, sample.humidity)) {
                dewPoint.Add(*dew, sample.time);
            }
        }
        if (limits) {
            limits->Add(sample.celsius, sample.time, gapBefore);
        }
        if (humidityLimits) {
            humidityLimits->Add(sample.humidity, sample.time, gapBefore);
        }
        for (AlarmAccount& alarm : alarms) {
            alarm.Add(sample.celsius, sample.time, gapBefore);
        }
        days.Add(sample, summary.days);
    });
    days.Flush(summary.days);

    summary.temperature = temperature.Result();
    summary.mkt = mkt.Result();
    summary.humidity = humidity.Result();
    summary.dewPoint = dewPoint.Result();
    if (limits) {
        summary.limits = limits->Finish();
    }
    if (humidityLimits) {
        summary.humidityLimits = humidityLimits->Finish();
    } else if (options.profile.humidityLimits) {
        summary.humidityLimits = LimitResult{*options.profile.humidityLimits, 0, 0, {}};
    }
    for (const AlarmAccount& alarm : alarms) {
        summary.alarms.push_back(alarm.Result());
    }
    return summary;
}

Summary Summarize(std::vector<Sample> samples, const Options& options) {
    auto byTime = [](const Sample& a, const Sample& b) { return a.time < b.time; };
    if (!std::is_sorted(samples.begin(), samples.end(), byTime)) {
        // Stable: of equal times the one that came first is kept.
        std::stable_sort(samples.begin(), samples.end(), byTime);
    }
    return SummarizeSorted(samples, options);
}

} // namespace velkor::analysis
