// The report of 10,000,000 samples already read: summarised, its chart points reduced, laid out
// and written as PDF/A into memory. The counter pdf_bytes is the size of the PDF.

#include "app/report/ReportPdf.h"
#include "app/report/ReportSummary.h"
#include "platform/DateTime.h"

#include <QBuffer>
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace {

using namespace velkor;

constexpr std::size_t SampleCount = 10'000'000;

// Ten seconds apart (three years and two months), a fridge with a daily swing and a door
// opened for 40 seconds every two hours.
const std::vector<analysis::Sample>& Samples() {
    static const std::vector<analysis::Sample> samples = [] {
        std::vector<analysis::Sample> s(SampleCount);
        double start = 0;
        TryEncodeDate(2005, 1, 1, start);
        for (std::size_t i = 0; i < SampleCount; ++i) {
            const double t = start + static_cast<double>(i) * 10 * OneSecond;
            const double celsius = 5 + 2 * std::sin(static_cast<double>(i % 8640) / 1375.0) +
                                   (i % 720 < 4 ? 4.0 : 0.0);
            s[i] = {t, std::round(celsius * 10) / 10, 40 + static_cast<double>(i % 300) / 10};
        }
        return s;
    }();
    return samples;
}

void BM_Report10M(benchmark::State& state) {
    const std::vector<analysis::Sample>& samples = Samples();
    analysis::Options options;
    options.profile = *analysis::ProfileByName("2-8");
    options.profile.rules.push_back(*analysis::ParseAlarmRule("above,8,30m,single"));
    report::ReportRequest request;
    request.language = Language::English;
    qint64 bytes = 0;
    int pages = 0;
    for (auto _ : state) {
        const report::ReportData data = report::MakeReportData(samples, {}, options, request);
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        pages = report::WriteReport(data, pdf, QStringLiteral("memory"));
        bytes = pdf.size();
    }
    state.counters["pdf_bytes"] = static_cast<double>(bytes);
    state.counters["pages"] = pages;
}
BENCHMARK(BM_Report10M)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
