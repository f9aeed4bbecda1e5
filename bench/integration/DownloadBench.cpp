// Read data with a log of 10,000 samples (401 block requests) from the simulated logger over a
// pseudo-terminal, with the real 100 ms wait per request: the goal is at most 3 % above
// 401 x 100 ms. The window is offscreen; its progress bar is drawn at every block as on screen.

#include "app/MainWindow.h"
#include "chart/ChartWidget.h"
#include "log/Download.h"
#include "platform/Pause.h"
#include "platform/PosixSerial.h"
#include "tests/app/FakeDialogs.h"
#include "tests/support/TempFolder.h"
#include "tools/loggersim/LogSource.h"
#include "tools/loggersim/LoggerSim.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <stdexcept>

namespace {

using namespace velkor;

constexpr std::uint32_t Samples = 10'000;

void BM_DownloadTenThousandSamples(benchmark::State& state) {
    testing::TempFolder home;
    const testing::ScopedEnv config("XDG_CONFIG_HOME", home.path().c_str());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(home.path().string()));

    sim::LoggerState loggerState;
    loggerState.loggingStart = sim::MakeDateTime(2024, 3, 1, 0, 0, 0);
    loggerState.intervalSeconds = 60;
    loggerState.records = sim::GenerateLog(Samples, loggerState.loggingStart, 60);
    loggerState.sampleCount = Samples;
    sim::LoggerSim logger(loggerState);
    logger.start(3);

    PosixSerialPorts ports{PortLocations{{}, home / "dev", {}}};
    SerialLink link{ports};
    LoggerSettings settings;
    SleepPause pause;
    DataFileState dataFile;
    velkor::testing::FakeDialogs dialogs;

    const int blocks = BlockRequestCount(Samples);
    double seconds = 0;
    std::size_t points = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MainWindow window(dialogs, Services{link, settings, pause, dataFile}, Language::Polish);
        window.show();
        QApplication::processEvents();
        static_cast<QAbstractButton*>(window.Widget(Control::OdczytUstawien))->click();
        if (!window.IsControlEnabled(Control::Button7))
            throw std::runtime_error("the simulated logger was not found");
        state.ResumeTiming();

        const auto start = std::chrono::steady_clock::now();
        static_cast<QAbstractButton*>(window.Widget(Control::Button7))->click();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

        state.PauseTiming();
        points = window.Chart1().Chart().Series(0).Count();
        if (!dialogs.errors.empty())
            throw std::runtime_error(dialogs.errors.front().text.toStdString());
        state.ResumeTiming();
    }
    const double goal = blocks * 0.100;
    state.counters["blocks"] = blocks;
    state.counters["points"] = static_cast<double>(points);
    state.counters["seconds"] = seconds;
    state.counters["over_401x100ms_percent"] = (seconds / goal - 1.0) * 100.0;

    logger.stop();
    QDir::setCurrent(previous);
}

} // namespace

BENCHMARK(BM_DownloadTenThousandSamples)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
