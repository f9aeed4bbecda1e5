#pragma once
// A simulated logger on COM3 of a temporary ports folder, and the program's serial channel
// over the real termios layer, found through the COM name resolution: XDG_CONFIG_HOME points at
// a temporary folder for the test, and the device list is an empty temporary folder, so the
// machine's own serial ports are never touched.

#include "link/SerialLink.h"
#include "platform/Pause.h"
#include "platform/PosixSerial.h"
#include "tests/support/TempFolder.h"
#include "tools/loggersim/LoggerSim.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace velkor::testing {

class SimulatedLoggerFixture : public ::testing::Test {
protected:
    static constexpr int Port = 3;

    TempFolder home;
    ScopedEnv config{"XDG_CONFIG_HOME", home.path().c_str()};
    PosixSerialPorts ports{PortLocations{{}, home / "dev", {}}};
    SerialLink link{ports};
    SleepPause pause;
    sim::LoggerSim logger;

    // Starts the logger with its default state and opens its port.
    void SetUp() override {
        logger.start(Port);
        ASSERT_TRUE(link.OpenPort(Port));
    }
    void TearDown() override {
        link.ClosePort();
        logger.stop();
    }

    // One exchange as the program makes it: place the command, send it, wait 100 ms, read.
    // Returns the bytes that arrived (empty when nothing did); ReceiveBuffer beyond them keeps
    // what earlier replies left, as the program sees it.
    std::string exchange(const std::string& command) {
        link.SetCommand(command);
        link.SendCommand();
        pause.sleep(100);
        return link.ReadReply(SerialLink::ReceiveBufferSize) ? lastReadBytes() : std::string();
    }

    // The bytes that the last ReadReply delivered.
    std::string lastReadBytes() const {
        const std::size_t n =
            std::min<std::size_t>(link.QueuedBytes, SerialLink::ReceiveBufferSize);
        return std::string(link.ReceiveBuffer.begin(), link.ReceiveBuffer.begin() + n);
    }
};

} // namespace velkor::testing
