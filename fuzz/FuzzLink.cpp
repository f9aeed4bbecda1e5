// The link layer's reply parsing: a logger on an in-memory port answers every command with
// bytes of the fuzzer's choosing, and the window's Connect sequence reads its settings from
// them through the logger session.

#include "FuzzInput.h"
#include "link/Session.h"
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
    LoggerSession session(link, pause, settings);
    if (scan)
        session.Find();
    if (!link.IsOpen() && !link.OpenPort(1))
        return 0;
    // A reply too short for its fields ends the reading as a protocol error, never a crash.
    session.ReadSettings();
    link.ClearBuffers();
    return 0;
}
