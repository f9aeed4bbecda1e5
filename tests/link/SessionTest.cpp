// The logger session: what reaching the logger and reading its settings come to, as outcomes
// without words, and the settings shown after each query.
#include "link/Session.h"
#include "FakeLogger.h"
#include "platform/DateTime.h"
#include "platform/MemorySerial.h"
#include "platform/Pause.h"

#include "tests/TestDates.h"

#include <gtest/gtest.h>

#include <functional>

using namespace velkor;
using velkor::test::AnswerCommands;

namespace {

const std::map<std::string, std::string> Logger = {
    {"N?\r", "RTW01234\r"}, {"T?\r", "T?123456\r"},       {"D?\r", "D?050324\r"},
    {"I?\r", "I?000100\r"}, {"R?\r", "R?000000010124\r"}, {"S?\r", "S?0000100\r"},
    {"U?\r", "U?03650\r"},
};

} // namespace

TEST(SessionTest, ReachingTheLoggerComesToATypedOutcome) {
    RecordingPause pause;
    const struct {
        const char* name;
        std::function<void(MemorySerialPorts&)> setUp;
        std::optional<std::string> port; // nullopt: the scan
        SessionOutcome outcome;
        std::string portReported;
        std::vector<std::string> busy;
        OpenFailure why;
        bool humidity;
    } cases[] = {
        {"scan finds COM3",
         [](MemorySerialPorts& p) { AnswerCommands(p.add("COM3"), Logger); },
         std::nullopt,
         SessionOutcome::Found,
         "COM3",
         {},
         OpenFailure::None,
         true},
        {"scan finds a logger without humidity",
         [](MemorySerialPorts& p) {
             AnswerCommands(p.add("COM3"), {{"N?\r", "RTT55\r"}});
         },
         std::nullopt,
         SessionOutcome::Found,
         "COM3",
         {},
         OpenFailure::None,
         false},
        {"scan, no ports",
         [](MemorySerialPorts&) {},
         std::nullopt,
         SessionOutcome::NotFound,
         "",
         {},
         OpenFailure::None,
         false},
        {"scan, COM2 held by another program",
         [](MemorySerialPorts& p) { p.add("COM2").busy = true; },
         std::nullopt,
         SessionOutcome::Busy,
         "",
         {"COM2"},
         OpenFailure::None,
         false},
        {"named port answers",
         [](MemorySerialPorts& p) { AnswerCommands(p.add("COM7"), Logger); },
         "COM7",
         SessionOutcome::Found,
         "COM7",
         {},
         OpenFailure::None,
         true},
        {"named port silent",
         [](MemorySerialPorts& p) { p.add("COM7"); },
         "COM7",
         SessionOutcome::NotFound,
         "COM7",
         {},
         OpenFailure::None,
         false},
        {"named port absent",
         [](MemorySerialPorts&) {},
         "COM7",
         SessionOutcome::NotFound,
         "COM7",
         {},
         OpenFailure::Absent,
         false},
        {"named port held",
         [](MemorySerialPorts& p) { p.add("COM7").busy = true; },
         "COM7",
         SessionOutcome::Busy,
         "COM7",
         {"COM7"},
         OpenFailure::Busy,
         false},
        {"named port gone while asked",
         [](MemorySerialPorts& p) {
             p.add("COM7").onWrite = [](const std::string&, MemoryLine& l) { l.gone = true; };
         },
         "COM7",
         SessionOutcome::Lost,
         "COM7",
         {},
         OpenFailure::None,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySerialPorts ports;
        SerialLink link{ports};
        LoggerSettings settings;
        LoggerSession session{link, pause, settings};
        c.setUp(ports);
        const SessionResult result = c.port ? session.Open(*c.port) : session.Find();
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.port, c.portReported);
        EXPECT_EQ(result.busyPorts, c.busy);
        EXPECT_EQ(result.openFailure, c.why);
        EXPECT_EQ(result.humidity, c.humidity);
        const bool found = c.outcome == SessionOutcome::Found;
        EXPECT_EQ(link.IsOpen(), found);
        EXPECT_EQ(settings.Identifier.empty(), !found);
        if (found) {
            EXPECT_EQ(result.reply.substr(0, 2), "RT");
        }
        if (c.outcome == SessionOutcome::Lost) {
            EXPECT_EQ(result.error, "Input/output error");
        }
    }
}

// Each query is followed by the callback with what it read; a reply too short for its fields
// ends the reading there, as does a device that goes away.
TEST(SessionTest, ReadsTheSettingsQueryByQuery) {
    RecordingPause pause;
    const auto shortAt = [](const char* command) {
        auto replies = Logger;
        replies[command] = std::string("\0", 1);
        return replies;
    };
    const struct {
        const char* name;
        std::map<std::string, std::string> replies;
        const char* goneAt; // the device goes away when this command is written
        SessionOutcome outcome;
        std::size_t steps;
    } cases[] = {
        {"all six", Logger, nullptr, SessionOutcome::Found, 6},
        {"D? too short", shortAt("D?\r"), nullptr, SessionOutcome::ProtocolError, 1},
        {"U? too short", shortAt("U?\r"), nullptr, SessionOutcome::ProtocolError, 5},
        {"gone at I?", Logger, "I?\r", SessionOutcome::Lost, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySerialPorts ports;
        MemoryLine& line = ports.add("COM1");
        SerialLink link{ports};
        LoggerSettings settings;
        LoggerSession session{link, pause, settings};
        line.onWrite = [&c, replies = c.replies](const std::string& written, MemoryLine& l) {
            if (c.goneAt && written == c.goneAt)
                l.gone = true;
            else if (const auto it = replies.find(written); it != replies.end())
                l.send(it->second);
        };
        ASSERT_EQ(session.Open("COM1").outcome, SessionOutcome::Found);

        std::vector<SettingsStep> steps;
        std::vector<SettingsShown> shown;
        const SessionResult read =
            session.ReadSettings([&](SettingsStep s, const SettingsShown& v) {
                steps.push_back(s);
                shown.push_back(v);
            });
        EXPECT_EQ(read.outcome, c.outcome);
        ASSERT_EQ(steps.size(), c.steps);
        for (std::size_t i = 0; i < steps.size(); ++i)
            EXPECT_EQ(steps[i], static_cast<SettingsStep>(i));
        // Each value is there by the time its own step is reported.
        EXPECT_EQ(FormatDateTime("hh:nn:ss", shown[0].clockTime), "12:34:56");
        if (c.outcome == SessionOutcome::Found) {
            EXPECT_EQ(FormatDateTime("yyyy-mm-dd", shown[1].clockDate), "2024-03-05");
            EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", shown[4].end), "2024-01-01 01:40:00");
            EXPECT_EQ(shown[4].samples, 100u);
            EXPECT_EQ(shown[5].batteryMillivolts, 3650);
            EXPECT_EQ(settings.BatteryMillivolts, 3650);
        }
        if (c.outcome == SessionOutcome::ProtocolError) {
            EXPECT_EQ(read.error, "'' is not a valid integer value");
        }
        if (c.outcome == SessionOutcome::Lost) {
            EXPECT_EQ(read.port, "COM1");
            EXPECT_EQ(read.error, "Input/output error");
        }
    }
}
