#include "platform/PortNames.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace velkor;
using velkor::testing::ScopedEnv;
using velkor::testing::TempFolder;
namespace fs = std::filesystem;

namespace {

struct PortNamesTest : ::testing::Test {
    TempFolder root;
    fs::path dev = root / "dev";
    fs::path ports = root / "ports";
    fs::path sys = root / "sys";

    void devices(std::initializer_list<const char*> names) {
        for (const char* name : names)
            root.file(std::string("dev/") + name);
    }
    void pin(const std::string& comName, const fs::path& target) {
        fs::create_directories(ports);
        fs::create_symlink(target, ports / comName);
    }
    std::optional<fs::path> resolve(const std::string& comName) {
        return ResolveComName(comName, PortLocations{ports, dev, sys});
    }
};

} // namespace

TEST_F(PortNamesTest, ListsUsbThenAcmThenSerialInNumericOrderIgnoringOtherNames) {
    devices({"ttyS1", "ttyS0", "ttyACM0", "ttyUSB10", "ttyUSB2", "ttyUSB0", "tty0", "ttyUSB",
             "ttyS1a", "ttyACMx", "console", "ttyAMA0"});
    const std::vector<fs::path> expected = {dev / "ttyUSB0", dev / "ttyUSB2", dev / "ttyUSB10",
                                            dev / "ttyACM0", dev / "ttyS0",   dev / "ttyS1"};
    EXPECT_EQ(ListSerialDevices(dev), expected);
    EXPECT_TRUE(ListSerialDevices(root / "missing").empty());
}

TEST_F(PortNamesTest, SerialPortsWithoutAUartAreNotPresent) {
    devices({"ttyS0", "ttyS1", "ttyS2", "ttyUSB0"});
    root.file("sys/ttyS0/type", "4\n");
    root.file("sys/ttyS1/type", "0\n");
    // ttyS2 has no description at all: counted, as nothing says it is absent.
    const std::vector<fs::path> expected = {dev / "ttyUSB0", dev / "ttyS0", dev / "ttyS2"};
    EXPECT_EQ(ListSerialDevices(dev, sys), expected);
    EXPECT_EQ(resolve("COM3"), dev / "ttyS2");
}

TEST_F(PortNamesTest, TheNthDevicePresentWithoutAPortsFolder) {
    devices({"ttyUSB0", "ttyACM0", "ttyS0"});
    EXPECT_EQ(resolve("COM1"), dev / "ttyUSB0");
    EXPECT_EQ(resolve("COM2"), dev / "ttyACM0");
    EXPECT_EQ(resolve("COM3"), dev / "ttyS0");
    EXPECT_EQ(resolve("COM4"), std::nullopt);
    EXPECT_EQ(resolve("COM255"), std::nullopt);
}

TEST_F(PortNamesTest, AnEntryOfThePortsFolderWinsEvenWhenItPointsNowhere) {
    devices({"ttyUSB0", "ttyACM0"});
    pin("COM1", dev / "ttyACM0");
    pin("COM7", root / "unplugged");
    EXPECT_EQ(resolve("COM1"), ports / "COM1");
    EXPECT_EQ(resolve("COM7"), ports / "COM7");
    // ttyACM0 is taken by COM1; ttyUSB0 gets the first number no entry takes.
    EXPECT_EQ(resolve("COM2"), dev / "ttyUSB0");
    EXPECT_EQ(resolve("COM3"), std::nullopt);
}

// Pinned numbers are skipped, not lost: every device left still gets a number.
TEST_F(PortNamesTest, UnpinnedDevicesTakeTheNumbersNoPinTakes) {
    devices({"ttyUSB0", "ttyACM0", "ttyS0", "ttyS1"});
    const struct {
        std::vector<std::pair<const char*, const char*>> pins;
        std::vector<std::pair<const char*, const char*>> resolved; // COM name -> device
    } cases[] = {
        {{{"COM2", "ttyACM0"}}, {{"COM1", "ttyUSB0"}, {"COM3", "ttyS0"}, {"COM4", "ttyS1"}}},
        {{{"COM1", "ttyS1"}, {"COM3", "elsewhere"}},
         {{"COM2", "ttyUSB0"}, {"COM4", "ttyACM0"}, {"COM5", "ttyS0"}, {"COM6", nullptr}}},
        {{{"COM0", "ttyUSB0"}, {"notes", "ttyACM0"}},
         {{"COM1", "ttyS0"}, {"COM2", "ttyS1"}, {"COM3", nullptr}}},
    };
    for (const auto& c : cases) {
        fs::remove_all(ports);
        for (const auto& [com, target] : c.pins)
            pin(com, dev / target);
        for (const auto& [com, device] : c.resolved) {
            const std::optional<fs::path> expected =
                device ? std::optional<fs::path>(dev / device) : std::nullopt;
            EXPECT_EQ(resolve(com), expected) << com << " with " << c.pins.front().first;
        }
    }
}

TEST_F(PortNamesTest, PinnedDevicesAreLeftOutByTheirRealPath) {
    devices({"ttyUSB0", "ttyUSB1", "ttyACM0"});
    // Pinned through a relative link to a by-id style alias: only the real paths match.
    fs::create_directories(root / "dev/serial/by-id");
    fs::create_symlink("../../ttyUSB0", root / "dev/serial/by-id/usb-Logger");
    pin("COM9", fs::path("..") / "dev/serial/by-id/usb-Logger");
    EXPECT_EQ(resolve("COM1"), dev / "ttyUSB1");
    EXPECT_EQ(resolve("COM2"), dev / "ttyACM0");
    EXPECT_EQ(resolve("COM3"), std::nullopt);
    EXPECT_EQ(resolve("COM9"), ports / "COM9");
}

TEST_F(PortNamesTest, Com0ResolvesOnlyThroughThePortsFolder) {
    devices({"ttyUSB0"});
    EXPECT_EQ(resolve("COM0"), std::nullopt);
    pin("COM0", dev / "ttyUSB0");
    EXPECT_EQ(resolve("COM0"), ports / "COM0");
}

TEST_F(PortNamesTest, NamesOtherThanComAndADecimalNumberResolveToNothing) {
    devices({"ttyUSB0"});
    pin("COM01", dev / "ttyUSB0");
    for (const char* name :
         {"COM", "COM01", "com1", "COM1 ", " COM1", "COMx", "COM-1", "COM+1", "LPT1", ""})
        EXPECT_EQ(resolve(name), std::nullopt) << '"' << name << '"';
    EXPECT_EQ(ComNumber("COM0"), 0);
    EXPECT_EQ(ComNumber("COM255"), 255);
}

TEST_F(PortNamesTest, DefaultPortsFolderFollowsXdgConfigHomeThenHome) {
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
        ScopedEnv home("HOME", "/home/user");
        EXPECT_EQ(DefaultPortsFolder(), fs::path("/cfg/velkor/ports"));
    }
    {
        ScopedEnv config("XDG_CONFIG_HOME", "");
        ScopedEnv home("HOME", "/home/user");
        EXPECT_EQ(DefaultPortsFolder(), fs::path("/home/user/.config/velkor/ports"));
    }
    {
        ScopedEnv config("XDG_CONFIG_HOME", nullptr);
        ScopedEnv home("HOME", nullptr);
        EXPECT_EQ(DefaultPortsFolder(), fs::path());
    }
}

TEST_F(PortNamesTest, AnEmptyPortsFolderSettingMeansTheDefaultFolderAtEachLookup) {
    devices({"ttyUSB0"});
    const PortLocations where{{}, dev, {}};
    ScopedEnv config("XDG_CONFIG_HOME", root.path().c_str());
    EXPECT_EQ(ResolveComName("COM4", where), std::nullopt);
    root.file("velkor/ports/COM4");
    EXPECT_EQ(ResolveComName("COM4", where), root / "velkor/ports/COM4");
}
