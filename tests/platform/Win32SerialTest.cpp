// The Win32 serial port. The port tests need a loopback device: the Windows check maps a
// pseudo-terminal that echoes every byte (tools/ptyloop) as a COM port of its Wine prefix and
// names it in VELKOR_LOOPBACK_PORT ("COM6").

#include "platform/Win32Serial.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using namespace velkor;

namespace {

bool UnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST(Win32SerialNames, NamesOfNoDeviceAreAbsentAndWinErrorsMapToTheirFailure) {
    Win32SerialPorts ports;
    for (const char* name : {"COM0", "COM01", "com1", "COM", "LPT1", "", "COM1 ", "COM250"}) {
        EXPECT_EQ(ports.open(name), nullptr) << '"' << name << '"';
        EXPECT_EQ(ports.lastOpenFailure(), OpenFailure::Absent) << '"' << name << '"';
        EXPECT_FALSE(ports.lastOpenError().empty());
    }
    const struct {
        DWORD error;
        OpenFailure failure;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, OpenFailure::Absent}, {ERROR_PATH_NOT_FOUND, OpenFailure::Absent},
        {ERROR_ACCESS_DENIED, OpenFailure::Busy},    {ERROR_SHARING_VIOLATION, OpenFailure::Busy},
        {ERROR_GEN_FAILURE, OpenFailure::Other},     {ERROR_INVALID_PARAMETER, OpenFailure::Other},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OpenFailureOf(c.error), c.failure) << c.error;
}

struct Win32SerialLoopback : ::testing::Test {
    std::string name;
    Win32SerialPorts ports;

    void SetUp() override {
        const char* port = std::getenv("VELKOR_LOOPBACK_PORT");
        if (!port || !*port)
            GTEST_SKIP() << "no loopback port (VELKOR_LOOPBACK_PORT)";
        name = port;
    }
    std::unique_ptr<SerialPort> openSetUp() {
        auto port = ports.open(name);
        if (port) {
            EXPECT_TRUE(port->applyLineSettings());
            port->discardInput();
        }
        return port;
    }
    // The loopback answers asynchronously: wait until `count` bytes are queued.
    static std::uint32_t waitQueued(SerialPort& port, std::uint32_t count) {
        std::uint32_t queued = 0;
        for (int i = 0; i < 400 && port.queuedBytes(queued) && queued < count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return queued;
    }
    static void send(SerialPort& port, const std::string& bytes) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
        EXPECT_EQ(port.write(data, bytes.size()), bytes.size());
        EXPECT_TRUE(port.waitTransmitEmpty()) << port.lastError();
    }
};

TEST_F(Win32SerialLoopback, APortIsExclusiveUntilItIsClosedAndABusyPortIsNotAbsent) {
    auto first = ports.open(name);
    ASSERT_NE(first, nullptr) << ports.lastOpenError();
    EXPECT_EQ(ports.lastOpenFailure(), OpenFailure::None);
    Win32SerialPorts others;
    // Wine does not enforce the share mode of a device: there the second open succeeds.
    if (!UnderWine()) {
        EXPECT_EQ(others.open(name), nullptr);
        EXPECT_EQ(others.lastOpenFailure(), OpenFailure::Busy) << others.lastOpenError();
    }
    first.reset();
    EXPECT_NE(others.open(name), nullptr) << others.lastOpenError();
    EXPECT_EQ(others.lastOpenFailure(), OpenFailure::None);
}

TEST_F(Win32SerialLoopback, SettingsApplyAndBytesTravelUntranslated) {
    auto port = openSetUp();
    ASSERT_NE(port, nullptr) << ports.lastOpenError();
    EXPECT_TRUE(port->setupQueues(256, 64)) << port->lastError();
    EXPECT_TRUE(port->setTransmitEmptyEventMask()) << port->lastError();
    const std::string command = "T?\r\n\x00\xff\x11\x13";
    send(*port, std::string(command.data(), 8));
    ASSERT_EQ(waitQueued(*port, 8), 8u);
    std::uint8_t reply[16] = {};
    EXPECT_EQ(port->read(reply, sizeof reply), 8u);
    EXPECT_EQ(std::string(reply, reply + 8), std::string(command.data(), 8));
}

TEST_F(Win32SerialLoopback, ReadTakesOnlyWhatIsWaitingAndLeavesTheRestQueued) {
    auto port = openSetUp();
    ASSERT_NE(port, nullptr) << ports.lastOpenError();
    std::uint32_t queued = 99;
    EXPECT_TRUE(port->queuedBytes(queued));
    EXPECT_EQ(queued, 0u);
    std::vector<std::uint8_t> buffer(700);
    EXPECT_EQ(port->read(buffer.data(), buffer.size()), 0u); // nothing waiting: no blocking

    send(*port, std::string(600, 'x'));
    ASSERT_EQ(waitQueued(*port, 600), 600u);
    EXPECT_EQ(port->read(buffer.data(), 512), 512u);
    EXPECT_TRUE(port->queuedBytes(queued));
    EXPECT_EQ(queued, 88u);
    EXPECT_EQ(port->read(buffer.data(), buffer.size()), 88u);
}

TEST_F(Win32SerialLoopback, DiscardInputDropsEverythingReceivedSoFar) {
    auto port = openSetUp();
    ASSERT_NE(port, nullptr) << ports.lastOpenError();
    send(*port, "OK\r");
    ASSERT_EQ(waitQueued(*port, 3), 3u);
    port->discardInput();
    std::uint32_t queued = 99;
    EXPECT_TRUE(port->queuedBytes(queued));
    EXPECT_EQ(queued, 0u);

    send(*port, "D?010324\r");
    ASSERT_EQ(waitQueued(*port, 9), 9u);
    std::uint8_t reply[16] = {};
    EXPECT_EQ(port->read(reply, sizeof reply), 9u);
    EXPECT_EQ(std::string(reply, reply + 9), "D?010324\r");
}

} // namespace
