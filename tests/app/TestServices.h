#pragma once
// The services a test window works with: in-memory serial ports, a pause that only records,
// fresh logger settings and data file state.

#include "app/Services.h"
#include "platform/MemorySerial.h"

namespace velkor::testing {

struct TestServices {
    MemorySerialPorts ports;
    SerialLink link{ports};
    LoggerSettings settings;
    RecordingPause pause;
    DataFileState dataFile;
    Services services{link, settings, pause, dataFile};
};

} // namespace velkor::testing
