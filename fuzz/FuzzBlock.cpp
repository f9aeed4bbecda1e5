// The download's block decode fed any reply: DecodeBlock against the acceptance rule from any
// last accepted time. What it returns must hold: at most one record a whole slot, each a valid
// date and time strictly after the one before and less than two days after it, and the last
// accepted time moved to the last of them.

#include "FuzzInput.h"
#include "link/Commands.h"
#include "log/Download.h"

#include <cmath>
#include <cstdlib>
#include <vector>

using namespace velkor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const double start = fuzz::AnyDouble(in);
    const std::vector<std::uint8_t> reply = in.ConsumeRemainingBytes<std::uint8_t>();

    double lastAccepted = start;
    const std::vector<cmd::LogRecord> records =
        DecodeBlock(reply.data(), reply.size(), lastAccepted);
    if (records.size() > reply.size() / cmd::RecordSize)
        std::abort();
    double previous = start;
    for (const cmd::LogRecord& r : records) {
        double t = 0;
        if (!r.DateTime(t) || !(previous < t && t < previous + AcceptanceWindowDays))
            std::abort();
        previous = t;
    }
    if (!(previous == lastAccepted || (std::isnan(previous) && std::isnan(lastAccepted))))
        std::abort();
    return 0;
}
