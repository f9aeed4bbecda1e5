// velkor-cli summary: the fridge week gives the answers the analysis tests expect, and every
// kind of trouble its exit status.

#include "cli/ArchiveCommands.h"
#include "cli/Cli.h"
#include "log/DataLine.h"
#include "platform/MemorySerial.h"
#include "tests/analysis/FridgeWeek.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace velkor::cli {
namespace {

using velkor::testing::TempFolder;

struct SummaryRun {
    int code = -1;
    std::string out, err;
};

SummaryRun Summary(std::vector<std::string> args) {
    std::ostringstream out, err;
    MemorySerialPorts ports;
    RecordingPause pause;
    Services services{ports, pause, {}, out, err, false, [] { return 0.0; }, {}, {}};
    SummaryRun result;
    result.code = RunCli(args, services);
    result.out = out.str();
    result.err = err.str();
    return result;
}

class CliSummary : public ::testing::Test {
protected:
    TempFolder folder;
    std::string fridge = folder.file("fridge.txt", velkor::testing::FridgeWeekFile()).string();
};

// The values of SummaryTest.FridgeWeek (worked out by tests/analysis/fridge_week.py), rounded.
TEST_F(CliSummary, FridgeWeekAsJson) {
    const SummaryRun r = Summary({"summary",
                                  fridge,
                                  "--json",
                                  "--profile",
                                  "2-8",
                                  "--hum-low",
                                  "40",
                                  "--hum-high",
                                  "70",
                                  "--alarm",
                                  "above,8,10m,single",
                                  "--alarm",
                                  "above,8,45m,cumulative",
                                  "--alarm",
                                  "below,2,1h,single",
                                  "--alarm",
                                  "below,0,0,single",
                                  "--alarm",
                                  "above,10,15m,single",
                                  "--fahrenheit"});
    EXPECT_EQ(r.code, ExitDone);
    EXPECT_EQ(r.err, "");
    for (const char* part : {
             R"({"samples":1980,"duplicates":1,"bad_lines":{"count":0,"first_line":null},)",
             R"("first":"2026-03-02 00:00:00","last":"2026-03-08 23:55:00","interval_s":300,)",
             R"("gaps":[{"after":"2026-03-05 10:00:00","before":"2026-03-05 13:05:00",)"
             R"("missing_s":10800}],)",
             R"("temperature_c":{"min":-0.8,"min_time":"2026-03-07 23:55:00","max":10.4,)"
             R"("max_time":"2026-03-04 02:15:00","mean":4.43,"sd":1.13,"mkt":4.5},)",
             R"("humidity_pct":{"min":53,"min_time":"2026-03-02 00:00:00","max":71.6,)",
             R"("dew_point_c":{"min":-9.2,"min_time":"2026-03-08 02:55:00","max":3.75,)",
             R"("limits":{"low":2,"high":8,"time_below_s":21900,"time_above_s":6900,)",
             R"({"start":"2026-03-07 22:00:00","end":"2026-03-08 03:55:00","duration_s":21600,)"
             R"("side":"below","extreme":-0.8})",
             R"("humidity_limits":{"low":40,"high":70,"time_below_s":0,"time_above_s":2100,)",
             R"({"rule":"above,8,10m,single","triggered":true,"at":"2026-03-03 15:05:00",)"
             R"("time_s":8100})",
             R"({"rule":"above,8,45m,cumulative","triggered":true,"at":"2026-03-04 02:05:00",)",
             R"({"rule":"below,2,1h,single","triggered":true,"at":"2026-03-07 22:55:00",)",
             R"({"rule":"below,0,0s,single","triggered":true,"at":"2026-03-07 23:15:00",)",
             R"({"rule":"above,10,15m,single","triggered":false,"at":null,"time_s":600}]})",
         })
        EXPECT_NE(r.out.find(part), std::string::npos) << part << "\nin\n" << r.out;
}

TEST_F(CliSummary, TextInTheChosenLanguageAndUnit) {
    const struct {
        std::vector<std::string> options;
        std::vector<std::string> shown;
        const char* humidity; // the humidity row's start; nullptr: none
    } cases[] = {
        {{"--profile", "2-8"},
         {"Samples:   1980\n", "Interval:  5 min\n", "Temperature  -0.80 °C  2026-03-07 23:55:00",
          "Temperature range 2.00 °C to 8.00 °C: below for 6 h 05 min, above for 1 h 55 min, "
          "excursions: 20\n",
          "  2026-03-07 22:00:00  2026-03-08 03:55:00  6 h 00 min  below  -0.80 °C\n"},
         "Humidity     53.00 %"},
        {{"--lang", "pl", "--fahrenheit", "--alarm", "below,2,1h,single", "--no-humidity"},
         {"Próbki:    1980\n", "Temperatura  30,56 °F", "40,11 °F\n",
          "  below,2,1h,single  ALARM o 2026-03-07 22:55:00, łącznie 6 h 20 min na progu lub "
          "za nim\n"},
         nullptr},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"summary", fridge};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const SummaryRun r = Summary(args);
        EXPECT_EQ(r.code, ExitDone);
        for (const std::string& part : c.shown)
            EXPECT_NE(r.out.find(part), std::string::npos) << part << "\nin\n" << r.out;
        EXPECT_EQ(r.out.find(c.humidity ? c.humidity : "Wilgotność") != std::string::npos,
                  c.humidity != nullptr);
    }
}

TEST_F(CliSummary, ExitStatus) {
    const std::string badLine =
        folder
            .file("bad.txt", DataLine(1, 2026, 1, 1, 0, 0, 0, 50, 400) +
                                 "2\t2026-13-01 00:05:00\t+005.0\t40.0\r\n" +
                                 DataLine(3, 2026, 1, 1, 0, 10, 0, 90, 400))
            .string();
    const std::string text = folder.file("text.txt", "not a data file\r\nat all\r\n").string();
    const std::string archive = (folder.path() / "archive.sqlite").string();
    const struct {
        std::vector<std::string> args;
        int code;
        std::string err; // a part of stderr
    } cases[] = {
        {{fridge}, ExitDone, ""},
        {{fridge, "--fail-on-excursion", "--low", "-5", "--high", "12"}, ExitDone, ""},
        {{fridge, "--fail-on-excursion", "--profile", "2-8"}, ExitExcursion, ""},
        {{fridge, "--fail-on-excursion", "--alarm", "below,0,0,single"}, ExitExcursion, ""},
        {{fridge, "--fail-on-excursion", "--hum-high", "70"}, ExitExcursion, ""},
        {{fridge, "--alarm", "above,8,30 m,single"}, ExitUsage, "'above,8,30 m,single' is no"},
        {{fridge, "--profile", "3-9"}, ExitUsage, "unknown profile '3-9'"},
        {{fridge, "--low", "9", "--high", "8"}, ExitUsage, "the low limit 9 is above"},
        {{fridge, "--low", "2,5"}, ExitUsage, "'2,5' is no valid value for --low"},
        {{fridge, "--delta-h", "0"}, ExitUsage, "'0' is no valid value for --delta-h"},
        {{fridge, "--from", "2026-03-07"}, ExitUsage, "'2026-03-07' is no date and time"},
        {{fridge, "--from", "2027-01-01 00:00:00"}, ExitFailed, "No samples of"},
        {{folder.path().string() + "/missing.txt"}, ExitFailed, "missing.txt"},
        {{text}, ExitFailed, "holds no logger data"},
        {{folder.path().string()}, ExitFailed, "is not a regular file"},
        {{badLine}, ExitIncomplete, "Bad lines left out: 1, the first is line 2."},
        {{badLine, "--fail-on-excursion", "--high", "8"}, ExitExcursion, "Bad lines left out"},
        {{fridge, "--archive-logger", "RTW01234"}, ExitUsage, "either FILE or --archive-logger"},
        // An archive not there (and not made); a build without the archive refuses the option.
        {{"--archive-logger", "RTW01234", "--archive", archive},
         ArchiveBuilt() ? ExitFailed : ExitUsage,
         ArchiveBuilt() ? "there is no such file" : "has no archive"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"summary"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(::testing::PrintToString(args));
        const SummaryRun r = Summary(args);
        EXPECT_EQ(r.code, c.code) << r.err;
        if (c.err.empty())
            EXPECT_EQ(r.err, "");
        else
            EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_EQ(r.out.empty(), c.code == ExitUsage || c.code == ExitFailed);
    }
}

} // namespace
} // namespace velkor::cli
