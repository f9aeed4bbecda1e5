// The alarm rule and profile parser: any text either is refused or gives a rule whose written
// form reads back as the same rule. The rule then runs over a few readings of the fuzzer's
// choosing, with a profile picked by name.

#include "FuzzInput.h"
#include "analysis/Rules.h"
#include "analysis/Summary.h"
#include "analysis/SummaryJson.h"

#include <cstdlib>

using namespace velkor;
using namespace velkor::analysis;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string ruleText = in.ConsumeRandomLengthString(64);
    const std::string delayText = in.ConsumeRandomLengthString(16);
    const std::string profileName = in.ConsumeRandomLengthString(16);

    if (std::optional<std::int64_t> delay = ParseDelay(delayText)) {
        if (*delay < 0 || *delay > MaxDelaySeconds || ParseDelay(DelayText(*delay)) != delay) {
            std::abort();
        }
    }
    std::optional<AlarmRule> rule = ParseAlarmRule(ruleText);
    if (rule && ParseAlarmRule(AlarmRuleText(*rule)) != rule) {
        std::abort();
    }
    std::optional<Profile> profile = ProfileByName(profileName);
    if (!profile) {
        profile = ProfileByName(
            ProfileNames()[in.ConsumeIntegralInRange<std::size_t>(0, ProfileNames().size() - 1)]);
    }
    if (rule) {
        profile->rules.push_back(*rule);
    }
    Options options;
    options.profile = *profile;
    options.deltaH = AnyDouble(in);
    std::vector<Sample> samples;
    while (in.remaining_bytes() > 0 && samples.size() < 64) {
        samples.push_back(
            {in.ConsumeFloatingPointInRange(40000.0, 40010.0), AnyDouble(in), AnyDouble(in)});
    }
    Summary summary = Summarize(samples, options);
    if (summary.alarms.size() != profile->rules.size()) {
        std::abort();
    }
    SummaryJson(summary);
    return 0;
}
