// The termios serial port against a pseudo-terminal made by the test: the test holds the
// master side (the "device") and an extra descriptor of the device side to look at its
// settings.

#include "platform/PosixSerial.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <sys/file.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace velkor;
using velkor::testing::TempFolder;
namespace fs = std::filesystem;

namespace {

struct PosixSerialTest : ::testing::Test {
    TempFolder root;
    int master = -1;
    int keeper = -1;
    fs::path device;
    std::ostringstream warnings;
    PosixSerialPorts ports{PortLocations{root / "ports", root / "dev", {}}, warnings};

    void SetUp() override {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(::grantpt(master), 0);
        ASSERT_EQ(::unlockpt(master), 0);
        device = ::ptsname(master);
        keeper = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(keeper, 0);
        fs::create_directories(root / "ports");
        fs::create_directories(root / "dev");
        fs::create_symlink(device, root / "ports/COM4");
    }
    void TearDown() override { closeDevice(); }
    void closeDevice() {
        if (master >= 0)
            ::close(master);
        if (keeper >= 0)
            ::close(keeper);
        master = keeper = -1;
    }
    void deviceSends(const std::string& bytes) {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    std::string deviceReceives() {
        std::string got;
        char buffer[256];
        pollfd p{master, POLLIN, 0};
        while (::poll(&p, 1, 200) > 0) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }
    // The pseudo-terminal hands bytes over asynchronously: wait until `count` are queued.
    static std::uint32_t waitQueued(SerialPort& port, std::uint32_t count) {
        std::uint32_t queued = 0;
        for (int i = 0; i < 200 && port.queuedBytes(queued) && queued < count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return queued;
    }
};

} // namespace

TEST_F(PosixSerialTest, OpensATerminalExclusivelyUntilItIsClosed) {
    auto first = ports.open("COM4");
    ASSERT_NE(first, nullptr);
    // Also refused to another instance and through the device path itself.
    PosixSerialPorts others{PortLocations{root / "ports", root / "dev", {}}, warnings};
    EXPECT_EQ(others.open("COM4"), nullptr);
    EXPECT_EQ(ports.openDevice(device), nullptr);
    first.reset();
    EXPECT_NE(others.open("COM4"), nullptr);
    EXPECT_TRUE(warnings.str().empty());
}

TEST_F(PosixSerialTest, WhatIsMissingOrNotATerminalCannotBeOpened) {
    fs::create_symlink(root / "nothing", root / "ports/COM5");
    root.file("plain");
    fs::create_symlink(root / "plain", root / "ports/COM6");
    EXPECT_EQ(ports.open("COM5"), nullptr);
    EXPECT_EQ(ports.open("COM6"), nullptr);
    EXPECT_EQ(ports.open("COM1"), nullptr); // the device folder is empty
    EXPECT_TRUE(warnings.str().empty());
}

TEST_F(PosixSerialTest, LineSettingsAreRaw115200EightNoneOneWithoutFlowControl) {
    auto port = ports.open("COM4");
    ASSERT_NE(port, nullptr);
    EXPECT_TRUE(port->applyLineSettings());
    EXPECT_TRUE(port->setupQueues(256, 64));
    EXPECT_TRUE(port->setTransmitEmptyEventMask());
    termios tio{};
    ASSERT_EQ(::tcgetattr(keeper, &tio), 0);
    EXPECT_EQ(::cfgetispeed(&tio), B115200);
    EXPECT_EQ(::cfgetospeed(&tio), B115200);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);

    // A CR goes out and comes in as CR, untranslated.
    const std::uint8_t command[] = {'T', '?', '\r'};
    EXPECT_EQ(port->write(command, 3), 3u);
    EXPECT_TRUE(port->waitTransmitEmpty());
    EXPECT_EQ(deviceReceives(), "T?\r");
    deviceSends("T?120000\r");
    EXPECT_EQ(waitQueued(*port, 9), 9u);
    std::uint8_t reply[9];
    EXPECT_EQ(port->read(reply, 9), 9u);
    EXPECT_EQ(std::string(reply, reply + 9), "T?120000\r");
}

TEST_F(PosixSerialTest, ReadTakesOnlyWhatIsWaitingAndLeavesTheRestQueued) {
    auto port = ports.open("COM4");
    ASSERT_NE(port, nullptr);
    port->applyLineSettings();
    std::uint32_t queued = 99;
    EXPECT_TRUE(port->queuedBytes(queued));
    EXPECT_EQ(queued, 0u);
    std::vector<std::uint8_t> buffer(700);
    EXPECT_EQ(port->read(buffer.data(), buffer.size()), 0u); // nothing waiting: no blocking

    deviceSends(std::string(600, 'x'));
    ASSERT_EQ(waitQueued(*port, 600), 600u);
    EXPECT_EQ(port->read(buffer.data(), 512), 512u);
    EXPECT_TRUE(port->queuedBytes(queued));
    EXPECT_EQ(queued, 88u);
    EXPECT_EQ(port->read(buffer.data(), buffer.size()), 88u);
}

TEST_F(PosixSerialTest, DiscardInputDropsEverythingReceivedSoFar) {
    auto port = ports.open("COM4");
    ASSERT_NE(port, nullptr);
    port->applyLineSettings();
    deviceSends("OK\r");
    ASSERT_EQ(waitQueued(*port, 3), 3u);
    port->discardInput();
    std::uint32_t queued = 99;
    EXPECT_TRUE(port->queuedBytes(queued));
    EXPECT_EQ(queued, 0u);

    deviceSends("D?010324\r");
    ASSERT_EQ(waitQueued(*port, 9), 9u);
    std::uint8_t reply[16] = {};
    EXPECT_EQ(port->read(reply, sizeof reply), 9u);
    EXPECT_EQ(std::string(reply, reply + 9), "D?010324\r");
}

TEST_F(PosixSerialTest, AHungUpDeviceFailsEveryCallWithoutBlocking) {
    auto port = ports.open("COM4");
    ASSERT_NE(port, nullptr);
    port->applyLineSettings();
    std::uint32_t none = 0;
    EXPECT_TRUE(port->queuedBytes(none));
    EXPECT_FALSE(port->deviceLost());
    closeDevice(); // like an unplugged adapter

    std::uint32_t queued = 99;
    EXPECT_FALSE(port->queuedBytes(queued));
    EXPECT_EQ(queued, 0u);
    const std::uint8_t command[] = {'N', '?', '\r'};
    port->flush();
    port->discardInput();
    EXPECT_EQ(port->write(command, 3), 0u);
    EXPECT_FALSE(port->waitTransmitEmpty());
    EXPECT_EQ(port->lastError(), "Input/output error");
    std::uint8_t buffer[8];
    EXPECT_EQ(port->read(buffer, sizeof buffer), 0u);
    // The channel tells a vanished device from a slow one by this.
    EXPECT_TRUE(port->deviceLost());
}

// Why an open failed: a port held by another program is told apart from one that is absent.
TEST_F(PosixSerialTest, WhyAnOpenFailedIsTold) {
    fs::create_symlink(root / "nothing", root / "ports/COM5");
    root.file("plain");
    fs::create_symlink(root / "plain", root / "ports/COM6");
    // Another program holding the device: its own open description with the lock.
    const int other = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    const struct {
        const char* name;
        OpenFailure failure;
    } cases[] = {
        {"COM4", OpenFailure::Busy},   {"COM5", OpenFailure::Absent}, {"COM6", OpenFailure::Other},
        {"COM1", OpenFailure::Absent}, {"COM4", OpenFailure::Busy},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ports.open(c.name), nullptr) << c.name;
        EXPECT_EQ(ports.lastOpenFailure(), c.failure) << c.name;
    }
    ::close(other);
    EXPECT_NE(ports.open("COM4"), nullptr);
    EXPECT_EQ(ports.lastOpenFailure(), OpenFailure::None);
}

TEST_F(PosixSerialTest, APortRefusedForLackOfPermissionIsReportedOnceNamingDialout) {
    ASSERT_EQ(::chmod(device.c_str(), 0600), 0);
    fs::permissions(root.path(), fs::perms::owner_all | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read |
                                     fs::perms::others_exec);
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // An ordinary user: as root nothing is refused.
        if (::geteuid() == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(3);
        } else if (::chmod(device.c_str(), 0) != 0) {
            ::_exit(4);
        }
        std::ostringstream text;
        PosixSerialPorts refused{PortLocations{root / "ports", root / "dev", {}}, text};
        const bool opened = refused.open("COM4") != nullptr || refused.open("COM4") != nullptr ||
                            refused.openDevice(device) != nullptr;
        const std::string out = text.str();
        [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], out.data(), out.size());
        ::_exit(opened ? 1 : 0);
    }
    ::close(pipeFds[1]);
    std::string out;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << "opened although refused, or could not drop rights";
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_NE(out.find("dialout"), std::string::npos) << out;
    EXPECT_NE(out.find(device.string()), std::string::npos) << out;
}
