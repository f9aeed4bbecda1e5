// The download's block decode: every block request gets a reply of the fuzzer's choosing
// (short, long, garbage or well-formed records) from a logger on an in-memory port, and the
// records go through the acceptance rule into a scratch data file.

#include "FuzzInput.h"
#include "log/Download.h"
#include "platform/MemorySerial.h"

#include <cmath>
#include <cstdlib>

using namespace velkor;

namespace {

class CheckingPlot final : public PlotSink {
public:
    void ClearSeries() override {}
    void AddPoint(int, double x, double y, std::uint32_t) override {
        if (!std::isfinite(x) || !std::isfinite(y))
            std::abort();
    }
    void SetBottomAxisAutomatic() override {}
};

class NoProgress final : public ProgressSink {
public:
    void ShowProgress(int) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    LoggerSettings settings;
    settings.LoggingStart = fuzz::AnyDouble(in);
    // Up to eight blocks keep one run short.
    settings.SampleCount = in.ConsumeIntegralInRange<std::uint32_t>(0, 199);

    MemorySerialPorts ports;
    MemoryLine& line = ports.add("COM1");
    line.onWrite = [&in](const std::string&, MemoryLine& l) {
        l.send(in.ConsumeRandomLengthString(2 * SerialLink::ReceiveBufferSize));
    };
    SerialLink link(ports);
    if (!link.OpenPort(1))
        std::abort();
    RecordingPause pause;
    DataFileState state;
    CheckingPlot plot;
    NoProgress progress;
    static const std::string file = fuzz::ScratchFile("velkor-fuzz-block");
    DownloadLog(link, pause, settings, state, plot, progress, file);
    return 0;
}
