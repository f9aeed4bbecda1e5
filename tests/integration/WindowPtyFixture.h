#pragma once
// The window over a pseudo-terminal: a simulated logger on COM3 of a temporary ports folder,
// the window's serial channel over the real termios layer with real 100 ms waits, and the
// working folder, where logger.txt goes, moved to the test's own temporary folder.

#include "app/MainWindow.h"
#include "platform/Pause.h"
#include "platform/PosixSerial.h"
#include "tests/app/FakeDialogs.h"
#include "tests/support/TempFolder.h"
#include "tools/loggersim/LoggerSim.h"

#include <QDir>

#include <gtest/gtest.h>

namespace velkor::testing {

class WindowOverPty : public ::testing::Test {
protected:
    // Moves into the temporary folder and starts the logger with this state on COM3.
    void StartLogger(const sim::LoggerState& state) {
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(home.path().string())));
        logger.setState(state);
        logger.start(3);
    }
    void TearDown() override {
        logger.stop();
        if (!previous.isEmpty())
            QDir::setCurrent(previous);
    }

    TempFolder home;
    QString previous;
    ScopedEnv config{"XDG_CONFIG_HOME", home.path().c_str()};
    // No serial devices of the machine: only the simulated logger's COM3.
    PosixSerialPorts ports{PortLocations{{}, home / "dev", {}}};
    SerialLink link{ports};
    LoggerSettings settings;
    SleepPause pause;
    DataFileState dataFile;
    velkor::testing::FakeDialogs dialogs;
    MainWindow window{dialogs, Services{link, settings, pause, dataFile}, Language::Polish};
    sim::LoggerSim logger;
};

} // namespace velkor::testing
