// The data-file loader fed any file: the bytes go to a scratch file that LoadDataFile reads,
// and the first line's text goes to ParseDataLine on its own. The errors the loader reports
// to the user (a field that does not convert, a file it cannot read) are expected results.

#include "FuzzInput.h"
#include "log/DataFileLoader.h"
#include "platform/Errors.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

using namespace velkor;

namespace {

// Checks what the chart would get: every point a real date and a real number.
class CheckingPlot final : public PlotSink {
public:
    void ClearSeries() override {}
    void AddPoint(int series, double x, double y, std::uint32_t) override {
        if ((series != TemperatureSeries && series != HumiditySeries) || !std::isfinite(x) ||
            std::isnan(y))
            std::abort();
    }
    void SetBottomAxisAutomatic() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data),
                                std::min(size, DataLineReadLength));
    try {
        ParseDataLine(text);
    } catch (const ConvertError&) {
    }

    static const std::string file = fuzz::ScratchFile("velkor-fuzz-loader");
    fuzz::WriteFile(file, data, size);
    DataFileState state;
    CheckingPlot plot;
    try {
        LoadDataFile(state, file, plot, {});
    } catch (const ConvertError&) {
    } catch (const InOutError&) {
    }
    return 0;
}
