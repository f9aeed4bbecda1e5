// velkor-cli against the simulated logger over a pseudo-terminal: each command does what the
// window's button does, byte for byte, and fails the way the exit codes promise.

#include "tests/cli/CliFixture.h"

#include "link/Connect.h"
#include "link/WriteSettings.h"
#include "log/Download.h"

#include <chrono>
#include <cstdlib>

namespace velkor::testing {
namespace {

using sim::MakeDateTime;
using Received = std::vector<std::string>;

class NoPlot final : public PlotSink {
public:
    void ClearSeries() override {}
    void AddPoint(int, double, double, std::uint32_t) override {}
    void SetBottomAxisAutomatic() override {}
};
class NoProgress final : public ProgressSink {
public:
    void ShowProgress(int) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
};

// The window's Read data after its Connect: the scan, the settings, then DownloadLog.
void WindowDownload(const PortLocations& where, const std::string& file,
                    const CancelCheck& cancel) {
    PosixSerialPorts ports{where};
    SerialLink link{ports};
    SleepPause pause;
    LoggerSettings settings;
    ASSERT_TRUE(FindLogger(link, pause));
    ReadClockTime(link, pause, settings);
    ReadClockDate(link, pause, settings);
    ReadInterval(link, pause, settings);
    ReadLoggingStart(link, pause, settings);
    ReadSampleCountAndEnd(link, pause, settings);
    ReadBattery(link, pause, settings);
    link.ClearBuffers();
    DataFileState dataFile;
    NoPlot plot;
    NoProgress progress;
    DownloadLog(link, pause, settings, dataFile, plot, progress, cancel, file);
}

std::size_t CountLines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

const char* const SettingsText = "port: COM3\n"
                                 "identifier: RTW01234\n"
                                 "clock: 2031-12-09 08:07:06\n"
                                 "interval: 00:00:37\n"
                                 "start: 2024-02-29 23:59:58\n"
                                 "end: 2024-03-01 01:01:38\n"
                                 "samples: 100\n"
                                 "battery: 2987 mV\n"
                                 "humidity: yes\n";

TEST_F(CliOverPty, InfoPrintsWhatConnectReads) {
    const struct {
        std::vector<std::string> args;
        std::string identification;
        std::string out;
    } cases[] = {
        {{"info"}, "RTW01234\r", SettingsText},
        {{"info", "--port", "COM3", "--lang", "pl"}, "RTW01234\r", SettingsText},
        {{"info", "--json", "--port=COM3"},
         "RTT0\"7\r",
         "{\"port\": \"COM3\", \"identifier\": \"RTT0\\\"7\", \"clock\": \"2031-12-09 08:07:06\", "
         "\"interval\": \"00:00:37\", \"start\": \"2024-02-29 23:59:58\", \"end\": \"2024-03-01 "
         "01:01:38\", \"samples\": 100, \"battery_mv\": 2987, \"humidity\": false}\n"},
    };
    for (const auto& c : cases) {
        logger.changeState([&](sim::LoggerState& s) { s.identification = c.identification; });
        logger.clearReceived();
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(logger.received(),
                  (Received{"N?\r", "T?\r", "D?\r", "I?\r", "R?\r", "S?\r", "U?\r"}));
    }
}

TEST_F(CliOverPty, PortsListsTheSimulatedLoggersLink) {
    const CliRun run = Run({"ports"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "COM3\t" + logger.linkPath().string() + " -> " +
                           std::filesystem::canonical(logger.devicePath()).string() + "\n");
    EXPECT_TRUE(logger.received().empty());
}

TEST_F(CliOverPty, DownloadWritesTheWindowsFileAndSumsUp) {
    const double start = MakeDateTime(2024, 3, 1, 0, 0, 0);
    std::vector<cmd::LogRecord> plain = sim::GenerateLog(60, start, 600);
    // A record at the same instant and one three days on are refused by the download.
    std::vector<cmd::LogRecord> awkward = plain;
    awkward.insert(awkward.begin() + 5, plain[4]);
    awkward.insert(awkward.begin() + 30, sim::MakeRecord(start + 3.0, 20.0, 50.0));
    const auto never = [] { return false; };
    const auto always = [] { return true; };

    const struct {
        const char* name;
        std::vector<cmd::LogRecord> log;
        std::vector<std::string> args;
        bool terminal;
        std::function<bool()> interrupted;
        int code;
        std::size_t lines;
        std::string err; // {} stands for the file name
    } cases[] = {
        {"complete",
         plain,
         {"download"},
         false,
         never,
         0,
         60,
         "60 of 60 samples written to {}\n"
         "Archive: new samples: 60, already there: 0, conflicting: 0.\n"},
        {"refused records",
         awkward,
         {"download"},
         false,
         never,
         3,
         60,
         "60 of 62 samples written to {}\n"
         "Archive: new samples: 0, already there: 60, conflicting: 0.\n"},
        {"Ctrl+C after the first block",
         plain,
         {"download", "--lang", "pl"},
         false,
         always,
         3,
         25,
         "Pobieranie przerwane.\nZapisano 25 z 60 próbek do {}\n"
         "Archiwum: nowe próbki: 0, już zapisane: 25, sprzeczne: 0.\n"},
        {"bar on a terminal",
         plain,
         {"download", "--port", "COM3"},
         true,
         never,
         0,
         60,
         "60 of 60 samples written to {}\n"
         "Archive: new samples: 0, already there: 60, conflicting: 0.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        logger.changeState([&](sim::LoggerState& s) {
            s.records = c.log;
            s.sampleCount = static_cast<std::uint32_t>(c.log.size());
            s.loggingStart = start;
        });
        const std::string file = (home / (std::string(c.name) + ".txt")).string();
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"-o", file});
        const CliRun run = Run(args, c.terminal, c.interrupted);
        const std::string window = (home / "window.txt").string();
        WindowDownload(where, window, c.interrupted);

        EXPECT_EQ(run.code, c.code) << run.err;
        const std::string written = Slurp(file);
        EXPECT_EQ(written, Slurp(window));
        EXPECT_EQ(CountLines(written), c.lines);
        std::string summary = c.err;
        summary.replace(summary.find("{}"), 2, file);
        if (!c.terminal) {
            EXPECT_EQ(run.err, summary);
            continue;
        }
        // Three blocks: the bar is drawn before each, then wiped before the summary.
        EXPECT_NE(run.err.find("\r[##########--------------------]  33 %  "), std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find(" 66 %  "), std::string::npos);
        EXPECT_NE(run.err.find(" left"), std::string::npos);
        EXPECT_TRUE(run.err.ends_with("\r" + summary)) << run.err;
    }
}

TEST_F(CliOverPty, ConfigureAndSetClockSendWhatTheWindowsButtonsSend) {
    // The window's pickers: a time picker holds a time of day, a date picker a date.
    const double interval = MakeDateTime(2000, 1, 1, 0, 1, 40);
    const double startDate = MakeDateTime(2024, 3, 5), startTime = MakeDateTime(2000, 1, 1, 6, 30);
    const double endDate = MakeDateTime(2024, 3, 7), endTime = MakeDateTime(2000, 1, 1, 18, 45, 10);
    const struct {
        std::vector<std::string> args;
        std::function<void(SerialLink&, Pause&, LoggerSettings&)> button;
        Received sent;
        std::string err;
    } cases[] = {
        {{"configure", "--interval", "00:01:40", "--start", "2024-03-05 06:30:00", "--end",
          "2024-03-07 18:45:10"},
         [&](SerialLink& l, Pause& p, LoggerSettings& s) {
             SaveSettings(l, p, s, interval, startDate, startTime, endDate, endTime);
         },
         {"I!000140\r", "R!063000050324\r", "S!0002169\r"},
         "Logger set: every 00:01:40 from 2024-03-05 06:30:00 to 2024-03-07 18:45:10, 2169 "
         "samples.\n"},
        {{"set-clock", "--time", "2027-06-15 23:05:09", "--port", "COM3"},
         [](SerialLink& l, Pause& p, LoggerSettings& s) {
             SetClock(l, p, s, MakeDateTime(2000, 1, 1, 23, 5, 9), MakeDateTime(2027, 6, 15));
         },
         {"T!230509\r", "D!150627\r"},
         "Clock set to 2027-06-15 23:05:09.\n"},
        {{"set-clock", "--lang", "pl"},
         [](SerialLink& l, Pause& p, LoggerSettings& s) {
             SetClock(l, p, s, MakeDateTime(2000, 1, 1, 12), MakeDateTime(2028, 9, 4));
         },
         {"T!120000\r", "D!040928\r"},
         "Zegar ustawiony na 2028-09-04 12:00:00.\n"},
    };
    for (const auto& c : cases) {
        logger.clearReceived();
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.err, c.err);
        ASSERT_TRUE(logger.waitForReceived(1 + c.sent.size(), std::chrono::seconds(1)));
        Received cli = logger.received();
        EXPECT_EQ(cli.front(), "N?\r");
        cli.erase(cli.begin());

        logger.clearReceived();
        PosixSerialPorts ports{where};
        SerialLink link{ports};
        LoggerSettings settings;
        ASSERT_TRUE(link.OpenPort(3));
        c.button(link, pause, settings);
        ASSERT_TRUE(logger.waitForReceived(c.sent.size(), std::chrono::seconds(1)));
        EXPECT_EQ(cli, logger.received());
        EXPECT_EQ(cli, c.sent);
    }
}

TEST_F(CliOverPty, WrongUsageSendsNothingAndExitsWithOne) {
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"erase"},
         "velkor-cli: erase deletes every measurement in the logger; confirm with --yes\n"
         "Try 'velkor-cli --help'.\n"},
        {{"erase", "--lang", "pl", "--port", "COM3"},
         "velkor-cli: erase usuwa wszystkie pomiary z rejestratora; potwierdź opcją --yes\n"
         "Pomoc: 'velkor-cli --help'.\n"},
        {{"configure", "--interval", "00:00:00", "--start", "2024-03-05 06:30:00", "--end",
          "2024-03-07 18:45:10"},
         "velkor-cli: The interval must be longer than 00:00:00.\nTry 'velkor-cli --help'.\n"},
        {{"configure", "--interval", "00:10:00", "--start", "2024-03-05 06:30:00", "--end",
          "2024-03-05 06:29:59"},
         "velkor-cli: The end of logging is before its start.\nTry 'velkor-cli --help'.\n"},
        {{"configure", "--interval", "00:10:00", "--start", "2024-02-30 06:30:00", "--end",
          "2024-03-05 06:29:59"},
         "velkor-cli: '2024-02-30 06:30:00' is no date and time of the form yyyy-mm-dd "
         "hh:mm:ss\nTry 'velkor-cli --help'.\n"},
        {{"configure", "--interval", "10:00", "--start", "2024-03-05 06:30:00", "--end",
          "2024-03-05 06:29:59"},
         "velkor-cli: '10:00' is no interval of the form hh:mm:ss\nTry 'velkor-cli --help'.\n"},
        {{"set-clock", "--time", "today"},
         "velkor-cli: 'today' is no date and time of the form yyyy-mm-dd hh:mm:ss\n"
         "Try 'velkor-cli --help'.\n"},
        {{"info", "--port", "COM256"},
         "velkor-cli: 'COM256' is no port name (COM0 to COM255)\nTry 'velkor-cli --help'.\n"},
        {{"download", "--yes"},
         "velkor-cli: unknown option '--yes' for 'download'\nTry 'velkor-cli --help'.\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_TRUE(logger.received().empty());
    EXPECT_TRUE(pause.waits.empty());
}

TEST_F(CliOverPty, NoLoggerOrAPortErrorExitsWithTwo) {
    sim::Faults silence;
    silence.silent = true;
    const struct {
        const char* name;
        sim::Faults faults;
        bool holdCom3;
        std::vector<std::string> args;
        std::string err;
        std::size_t waits; // 100 ms each
    } cases[] = {
        // The scan meets COM3 twice (as COM3 and again at i = 259), nothing else.
        {"silent", silence, false, {"download"}, "velkor-cli: No logger found.\n", 2},
        {"silent, named",
         silence,
         false,
         {"info", "--port", "COM3"},
         "velkor-cli: No logger answers on COM3.\n",
         1},
        {"absent", {}, false, {"info", "--port", "COM9"}, "velkor-cli: COM9 does not exist.\n", 0},
        {"busy",
         {},
         true,
         {"info"},
         "velkor-cli: No logger found. In use by another program: COM3.\n",
         0},
        {"busy, named",
         {},
         true,
         {"erase", "--yes", "--port", "COM3", "--lang", "pl"},
         "velkor-cli: Port COM3 jest zajęty przez inny program.\n",
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        logger.setFaults(c.faults);
        PosixSerialPorts other{where};
        const std::unique_ptr<SerialPort> held = c.holdCom3 ? other.open("COM3") : nullptr;
        ASSERT_EQ(held != nullptr, c.holdCom3);
        pause.waits.clear();
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.code, 2);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(pause.waits, std::vector<int>(c.waits, 100));
    }
}

TEST_F(CliOverPty, EraseWaitsForTheConfirmationWithADotEachSecond) {
    logger.changeState([](sim::LoggerState& s) {
        s.records = sim::GenerateLog(10, MakeDateTime(2024, 3, 1), 600);
    });
    sim::Faults late;
    late.eraseDelayMs = 2500;
    logger.setFaults(late);

    const CliRun run = Run({"erase", "--yes", "--force"}, true);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(logger.received(), (Received{"N?\r", "E!\r"}));
    EXPECT_TRUE(logger.state().records.empty());
    // About 25 polls: two dots, perhaps three.
    EXPECT_TRUE(run.err == "Erasing..\nMemory erased.\n" ||
                run.err == "Erasing...\nMemory erased.\n")
        << run.err;
}

TEST_F(CliOverPty, ExportMatchesTheDownloadedFileLineByLine) {
    logger.changeState([](sim::LoggerState& s) {
        s.records = sim::GenerateLog(30, MakeDateTime(2024, 3, 1), 600, 3);
        s.records.push_back(sim::MakeRecord(MakeDateTime(2024, 3, 1, 5), -0.1, 100.0));
        s.sampleCount = 31;
        s.loggingStart = MakeDateTime(2024, 3, 1);
    });
    const std::string data = (home / "log.txt").string();
    ASSERT_EQ(Run({"download", "-o", data}).code, 0);
    const CliRun run = Run({"export", data, "--lang", "pl"});
    EXPECT_EQ(run.code, 0) << run.err;
    const std::string csv = (home / "log.csv").string();
    EXPECT_EQ(run.err, "Zapisano wierszy: 31 do " + csv + "\n");

    std::istringstream dataLines(Slurp(data)), csvLines(Slurp(csv));
    std::string csvLine, dataLine;
    std::getline(csvLines, csvLine);
    EXPECT_EQ(csvLine, "time,temperature_c,humidity_pct\r");
    std::size_t lines = 0;
    while (std::getline(dataLines, dataLine)) {
        ASSERT_TRUE(std::getline(csvLines, csvLine)) << lines;
        // "n TAB yyyy-mm-dd hh:mm:ss TAB temperature TAB humidity CR" against
        // "yyyy-mm-dd hh:mm:ss,temperature,humidity CR".
        std::istringstream fields(dataLine);
        std::string number, time, temperature, humidity;
        std::getline(fields, number, '\t');
        std::getline(fields, time, '\t');
        std::getline(fields, temperature, '\t');
        std::getline(fields, humidity, '\r');
        const std::size_t comma1 = csvLine.find(','), comma2 = csvLine.find(',', comma1 + 1);
        EXPECT_EQ(number, std::to_string(++lines));
        EXPECT_EQ(csvLine.substr(0, comma1), time);
        EXPECT_EQ(std::strtod(csvLine.substr(comma1 + 1).c_str(), nullptr),
                  std::strtod(temperature.c_str(), nullptr))
            << csvLine;
        EXPECT_EQ(std::strtod(csvLine.substr(comma2 + 1).c_str(), nullptr),
                  std::strtod(humidity.c_str(), nullptr))
            << csvLine;
        EXPECT_TRUE(csvLine.ends_with("\r"));
    }
    EXPECT_EQ(lines, 31u);
    EXPECT_FALSE(std::getline(csvLines, csvLine));
}

} // namespace
} // namespace velkor::testing
