// velkor-cli without a port: the command line itself, and an erase that is never confirmed,
// with in-memory ports and a pause that returns at once.

#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/TerminalProgress.h"
#include "link/Commands.h"
#include "platform/MemorySerial.h"
#include "tests/support/TempFolder.h"
#include "tools/loggersim/LogSource.h"
#include "tools/loggersim/LoggerProtocol.h"
#include "velkor/Version.h"

#include <gtest/gtest.h>

#include <sstream>

namespace velkor::cli {
namespace {

struct Result {
    int code = -1;
    std::string out, err;
};

class CliWithoutPorts : public ::testing::Test {
protected:
    Result Run(const std::vector<std::string>& args, bool terminal = false) {
        std::ostringstream out, err;
        Services services{ports, pause, {}, out, err, terminal, [] { return 0.0; }, {}, {}};
        Result result;
        result.code = RunCli(args, services);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    MemorySerialPorts ports;
    RecordingPause pause;
    testing::TempFolder home;
    testing::ScopedEnv config{"XDG_CONFIG_HOME", home.path().c_str()};
    testing::ScopedEnv data{"XDG_DATA_HOME", home.path().c_str()};
};

TEST_F(CliWithoutPorts, CommandLineIsCheckedBeforeAnyPortIsOpened) {
    const struct {
        std::vector<std::string> args;
        int code;
        std::string outStart;
        std::string err;
    } cases[] = {
        {{}, 1, "", "velkor-cli: 'velkor-cli' needs COMMAND\nTry 'velkor-cli --help'.\n"},
        {{"fetch"}, 1, "", "velkor-cli: unknown command 'fetch'\nTry 'velkor-cli --help'.\n"},
        {{"info", "--lang", "de"},
         1,
         "",
         "velkor-cli: unknown language 'de' (en or pl)\nTry 'velkor-cli --help'.\n"},
        {{"info", "--port"},
         1,
         "",
         "velkor-cli: option '--port' needs a value\nTry 'velkor-cli --help'.\n"},
        {{"info", "--json=yes"},
         1,
         "",
         "velkor-cli: unexpected argument '--json=yes'\nTry 'velkor-cli --help'.\n"},
        {{"export"}, 1, "", "velkor-cli: 'export' needs DATAFILE\nTry 'velkor-cli --help'.\n"},
        {{"export", "a.txt", "b.txt", "--lang=pl"},
         1,
         "",
         "velkor-cli: nieoczekiwany argument 'b.txt'\nPomoc: 'velkor-cli --help'.\n"},
        {{"configure", "--interval", "00:10:00", "--start", "2024-03-05 06:30:00"},
         1,
         "",
         "velkor-cli: 'configure' needs --end\nTry 'velkor-cli --help'.\n"},
        {{"-o", "x", "download"},
         1,
         "",
         "velkor-cli: unknown option '-o' for 'velkor-cli'\nTry 'velkor-cli --help'.\n"},
        {{"info", "--lang", "pl", "--lang=en", "--bogus"},
         1,
         "",
         "velkor-cli: unknown option '--bogus' for 'info'\nTry 'velkor-cli --help'.\n"},
        {{"info", "--lang=de", "--lang", "pl"},
         1,
         "",
         "velkor-cli: nieznany język 'de' (en lub pl)\nPomoc: 'velkor-cli --help'.\n"},
        {{"--help"}, 0, "Usage: velkor-cli COMMAND [OPTIONS]\n", ""},
        {{"--lang", "pl", "-h"}, 0, "Użycie: velkor-cli POLECENIE [OPCJE]\n", ""},
        {{"download", "--help"},
         0,
         "Usage: velkor-cli download [--port COMn] [-o FILE|-] [-q] [--json]\n",
         ""},
        {{"erase", "-h", "--lang", "pl"}, 0, "Użycie: velkor-cli erase [--port COMn] --yes", ""},
        {{"--version"}, 0, "velkor-cli " VELKOR_VERSION "\n", ""},
    };
    for (const auto& c : cases) {
        const Result r = Run(c.args);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_TRUE(r.out.starts_with(c.outStart)) << r.out;
        EXPECT_EQ(r.err, c.err);
    }
    EXPECT_TRUE(ports.openAttempts.empty());
}

TEST_F(CliWithoutPorts, EraseNeverConfirmedIsIncompleteAfterSixtySecondsOfDots) {
    MemoryLine& line = ports.add("COM1");
    line.onWrite = [](const std::string& written, MemoryLine& l) {
        if (written == cmd::Identify)
            l.send("RTW01234\r");
    };
    const Result r = Run({"erase", "--yes", "--force"}, true);
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(line.written(), "N?\rE!\r");
    EXPECT_EQ(r.err,
              "Erasing" + std::string(60, '.') + "\nThe logger did not confirm the erase.\n");
    EXPECT_EQ(pause.waits.size(), 1u + 601u);
}

// A download that the logger or the port breaks off after the first block keeps that block.
TEST_F(CliWithoutPorts, DownloadBrokenOffKeepsTheFirstBlockAndSaysWhy) {
    const struct {
        const char* name;
        bool unplug; // else the logger falls silent
        int code;
        std::string err; // {} stands for the file name
    } cases[] = {
        {"unplugged", true, 2,
         "Lost the connection to the logger on port COM1 (Input/output error).\n"
         "The logger stopped answering. 25 of 60 samples were received and saved in {}.\n"
         "Archive: new samples: 25, already there: 0, conflicting: 0.\n"},
        {"silent", false, 3,
         "The logger stopped answering. 25 of 60 samples were received and saved in {}.\n"
         "Archive: new samples: 25, already there: 0, conflicting: 0.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::LoggerState state;
        state.loggingStart = sim::MakeDateTime(2024, 3, 1);
        state.records = sim::GenerateLog(60, state.loggingStart, 600);
        state.sampleCount = 60;
        MemoryLine& line = ports.add("COM1");
        line.input.clear();
        line.onWrite = [&state, &c](const std::string& written, MemoryLine& l) {
            if (written.starts_with("G?00001")) {
                l.gone = c.unplug;
                return;
            }
            l.send(sim::AnswerCommand(written.substr(0, written.size() - 1), state).reply);
        };
        testing::TempFolder folder;
        const std::string file = (folder / "log.txt").string();
        // An archive of each case's own.
        const Result r = Run({"download", "-o", file, "--archive", (folder / "a.sqlite").string()});
        EXPECT_EQ(r.code, c.code);
        std::string err = c.err;
        err.replace(err.find("{}"), 2, file);
        EXPECT_EQ(r.err, err);
        line.gone = false;
    }
}

// Bytes of the logger and of the command line reach the terminal escaped: control bytes and
// broken UTF-8 as \xNN, in JSON as JSON's own escapes; the reply's line end is dropped.
TEST_F(CliWithoutPorts, TextsFromTheLoggerAndTheCommandLineAreEscaped) {
    sim::LoggerState state;
    state.identification = "RT\x1b[31m\x07\xff\xc3\xb3\r";
    MemoryLine& line = ports.add("COM1");
    line.onWrite = [&state](const std::string& written, MemoryLine& l) {
        l.send(sim::AnswerCommand(written.substr(0, written.size() - 1), state).reply);
    };
    const struct {
        std::vector<std::string> args;
        int code;
        std::string out; // a line of stdout
        std::string err;
    } cases[] = {
        {{"info"}, 0, "identifier: RT\\x1b[31m\\x07\\xffó\n", ""},
        {{"info", "--json"},
         0,
         "\"identifier\": \"RT\\u001b[31m\\u0007\\u00ff\\u00c3\\u00b3\"",
         ""},
        {{"info", "--port", "COM\x1b[2J"},
         1,
         "",
         "velkor-cli: 'COM\\x1b[2J' is no port name (COM0 to COM255)\nTry 'velkor-cli --help'.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        const Result r = Run(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(CliExitCodes, SeveralApplyThePrecedenceDecides) {
    const struct {
        int a, b, combined;
    } cases[] = {
        {ExitDone, ExitDone, ExitDone},
        {ExitDone, ExitIncomplete, ExitIncomplete},
        {ExitIncomplete, ExitExcursion, ExitExcursion},
        {ExitArchiveFailed, ExitExcursion, ExitArchiveFailed},
        {ExitArchiveFailed, ExitEraseRefused, ExitEraseRefused},
        {ExitEraseRefused, ExitFailed, ExitFailed},
        {ExitFailed, ExitUsage, ExitUsage},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CombineExitCodes(c.a, c.b), c.combined) << c.a << ' ' << c.b;
        EXPECT_EQ(CombineExitCodes(c.b, c.a), c.combined) << c.b << ' ' << c.a;
    }
}

TEST(CliTexts, CsvNameAndBarText) {
    EXPECT_EQ(CsvNameFor("logger.txt"), "logger.csv");
    EXPECT_EQ(CsvNameFor("data"), "data.csv");
    EXPECT_EQ(CsvNameFor("dir.d/log"), "dir.d/log.csv");
    EXPECT_EQ(BarText(0, 4, 0.0, Language::English), "[------------------------------]   0 %");
    EXPECT_EQ(BarText(1, 4, 10.0, Language::English),
              "[#######-----------------------]  25 %  0:30 left");
    EXPECT_EQ(BarText(1, 100, 40.0, Language::Polish),
              "[------------------------------]   1 %  zostało 1:06:00");
}

} // namespace
} // namespace velkor::cli
