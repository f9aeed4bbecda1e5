// Reading a data file of 1,000,000 lines with the data-file reader, side by side with a
// baseline that does the least any reader must: the whole file read at once, and each line's
// six date and time fields and two values converted with std::from_chars into vectors.
// Goal: the reader takes at most 1.2 times the baseline's time.

#include "log/DataFileReader.h"
#include "log/DataLine.h"
#include "platform/DateTime.h"

#include <array>
#include <benchmark/benchmark.h>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace velkor;

constexpr int ReadLineCount = 1'000'000;

// One-minute samples as a download writes them.
const std::string& DataFile() {
    static const std::string name = [] {
        const std::string file = "/tmp/velkor-bench-read.txt";
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        double start = 0.0;
        TryEncodeDateTime(2024, 1, 1, 0, 0, 0, 0, start);
        for (int i = 0; i < ReadLineCount; ++i) {
            const double t = start + i * 60.0 / SecondsPerDay;
            const DateParts d = DecodeDate(t);
            const TimeParts c = DecodeTime(t);
            out << DataLine(i + 1, d.year, d.month, d.day, c.hour, c.minute, c.second,
                            i % 700 - 200, i % 1000);
        }
        return file;
    }();
    return name;
}

struct Columns {
    std::vector<std::array<int, 6>> dateTimes;
    std::vector<double> temperatures, humidities;
};

void Baseline(benchmark::State& state) {
    const std::string& name = DataFile();
    std::size_t lines = 0;
    for (auto _ : state) {
        std::FILE* in = std::fopen(name.c_str(), "rb");
        std::fseek(in, 0, SEEK_END);
        std::string text(static_cast<std::size_t>(std::ftell(in)), '\0');
        std::fseek(in, 0, SEEK_SET);
        text.resize(std::fread(text.data(), 1, text.size(), in));
        std::fclose(in);
        Columns columns;
        std::string_view rest(text);
        while (!rest.empty()) {
            const std::size_t end = rest.find('\n');
            const std::string_view line = rest.substr(0, end);
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
            const std::size_t k = line.find('\t');
            if (k == std::string_view::npos || line.size() < k + 30)
                continue;
            const char* p = line.data() + k + 1;
            std::array<int, 6> fields{};
            static constexpr int Offsets[6][2] = {{0, 4},  {5, 2},  {8, 2},
                                                  {11, 2}, {14, 2}, {17, 2}};
            for (int f = 0; f < 6; ++f)
                std::from_chars(p + Offsets[f][0], p + Offsets[f][0] + Offsets[f][1], fields[f]);
            double t = 0, h = 0;
            const char* value = p + 20;
            if (*value == '+' || *value == ' ')
                ++value;
            const char* end6 = line.data() + k + 27;
            const auto parsed = std::from_chars(value, end6, t);
            std::from_chars(parsed.ptr + 1, line.data() + line.size(), h);
            columns.dateTimes.push_back(fields);
            columns.temperatures.push_back(t);
            columns.humidities.push_back(h);
        }
        lines = columns.temperatures.size();
        benchmark::DoNotOptimize(columns);
    }
    state.counters["lines"] = static_cast<double>(lines);
}

void Reader(benchmark::State& state) {
    const std::string& name = DataFile();
    std::size_t lines = 0;
    for (auto _ : state) {
        std::vector<double> times, temperatures, humidities;
        DataFileReader reader(name);
        DataRecord r;
        while (reader.NextData(r)) {
            times.push_back(r.dateTime);
            temperatures.push_back(r.temperature);
            humidities.push_back(r.humidity);
        }
        lines = times.size();
        benchmark::DoNotOptimize(times);
    }
    state.counters["lines"] = static_cast<double>(lines);
}

} // namespace

BENCHMARK(Baseline)->Name("BM_ReadMillionLines_Baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(Reader)->Name("BM_ReadMillionLines_DataFileReader")->Unit(benchmark::kMillisecond);
