#pragma once
// velkor-cli run in-process against the simulated logger on COM3 of a temporary ports folder,
// over the real termios layer and real 100 ms waits; the machine's own serial ports are never
// touched (the device list is an empty folder).

#include "cli/Cli.h"
#include "platform/DateTime.h"
#include "platform/PosixSerial.h"
#include "tests/platform/TempFolder.h"
#include "tools/loggersim/LogSource.h"
#include "tools/loggersim/LoggerSim.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace velkor::testing {

// Sleeps for real and counts the waits.
class CountingPause final : public Pause {
public:
    void sleep(int milliseconds) override {
        real_.sleep(milliseconds);
        waits.push_back(milliseconds);
    }
    std::vector<int> waits;

private:
    SleepPause real_;
};

struct CliRun {
    int code = -1;
    std::string out, err;
};

class CliOverPty : public ::testing::Test {
protected:
    void SetUp() override {
        sim::LoggerState state;
        state.clock = sim::MakeDateTime(2031, 12, 9, 8, 7, 6);
        state.intervalSeconds = 37;
        state.loggingStart = sim::MakeDateTime(2024, 2, 29, 23, 59, 58);
        state.sampleCount = 100;
        state.batteryMillivolts = 2987;
        logger.setState(state);
        logger.start(3);
    }
    void TearDown() override { logger.stop(); }

    // One invocation; stderr is a terminal when `terminal`, Ctrl+C comes when `interrupted`
    // says so.
    CliRun Run(const std::vector<std::string>& args, bool terminal = false,
               std::function<bool()> interrupted = {}) {
        std::ostringstream out, err;
        PosixSerialPorts ports{where, err};
        cli::Services services{ports,
                               pause,
                               where,
                               out,
                               err,
                               terminal,
                               [] { return Now; },
                               {},
                               std::move(interrupted)};
        CliRun run;
        run.code = cli::RunCli(args, services);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    // What set-clock uses without --time.
    static constexpr double Now = 47000.5; // 2028-09-04 12:00:00

    TempFolder home;
    ScopedEnv config{"XDG_CONFIG_HOME", home.path().c_str()};
    // The archive of every download: home/velkor/archive.sqlite.
    ScopedEnv data{"XDG_DATA_HOME", home.path().c_str()};
    PortLocations where{{}, home / "dev", {}};
    CountingPause pause;
    sim::LoggerSim logger;
};

} // namespace velkor::testing
