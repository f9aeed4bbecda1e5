// The data-file reader and the window's load fed any file: the bytes go to a scratch file that
// DataFileReader and LoadDataFile read, and the first line's text goes to ParseDataLine on its
// own. The errors they report to the user (a field that does not convert, no logger data, a
// file they cannot read) are expected results; a record that breaks the reader's promises is
// not.

#include "FuzzInput.h"
#include "log/DataFileLoader.h"
#include "log/DataFileReader.h"
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

bool Holdable(double value) {
    return value >= LowestRecordValue && value <= HighestRecordValue;
}

// Every line once, numbered 1, 2, 3...; a data line has a date and two values a record can
// hold; the counts add up.
void ReadAll(const std::string& file) {
    DataFileReader reader(file);
    DataRecord r;
    std::uint64_t expected = 0;
    std::uint64_t data = 0;
    while (reader.Next(r)) {
        if (r.line != ++expected || reader.LineText().size() > DataLineReadLength)
            std::abort();
        if (r.kind == LineKind::Data) {
            ++data;
            if (!r.hasDateTime || !r.hasTemperature || !r.hasHumidity ||
                !std::isfinite(r.dateTime) || !Holdable(r.temperature) || !Holdable(r.humidity))
                std::abort();
        }
    }
    const DataFileCounts& n = reader.Counts();
    if (n.lines != expected || n.dataLines != data ||
        n.dataLines + n.notDataLines + n.badLines != n.lines || n.blankLines > n.notDataLines ||
        (n.badLines > 0) != (n.firstBadLine > 0) ||
        (n.notDataLines > 0) != (n.firstNotDataLine > 0))
        std::abort();
}

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
    try {
        ReadAll(file);
    } catch (const InOutError&) {
    }
    DataFileState state;
    CheckingPlot plot;
    try {
        LoadDataFile(state, file, plot, {});
    } catch (const ConvertError&) {
    } catch (const InOutError&) {
    }
    return 0;
}
