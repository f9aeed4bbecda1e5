// The link layer's reply parsing: a logger on an in-memory port answers every command with
// bytes of the fuzzer's choosing, and the window's Connect sequence reads its settings from
// them. ConvertError is the answer to a reply too short to hold its fields.

#include "FuzzInput.h"
#include "link/Commands.h"
#include "link/Connect.h"
#include "platform/Errors.h"
#include "platform/MemorySerial.h"
#include "platform/Pause.h"

using namespace velkor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const bool scan = in.ConsumeBool();
    MemorySerialPorts ports;
    MemoryLine& line = ports.add("COM1");
    // Each command gets the next reply, up to twice the receive buffer long.
    line.onWrite = [&in](const std::string&, MemoryLine& l) {
        l.send(in.ConsumeRandomLengthString(2 * SerialLink::ReceiveBufferSize));
    };
    SerialLink link(ports);
    RecordingPause pause;
    LoggerSettings settings;
    try {
        if (scan) {
            if (const auto reply = FindLogger(link, pause)) {
                settings.Identifier = IdentifierOf(*reply);
                cmd::HasHumidity(settings.Identifier);
            }
        }
        if (!link.IsOpen() && !link.OpenPort(1))
            return 0;
        ReadClockTime(link, pause, settings);
        ReadClockDate(link, pause, settings);
        ReadInterval(link, pause, settings);
        ReadLoggingStart(link, pause, settings);
        ReadSampleCountAndEnd(link, pause, settings);
        ReadBattery(link, pause, settings);
    } catch (const ConvertError&) {
    }
    link.ClearBuffers();
    return 0;
}
