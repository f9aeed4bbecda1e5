// velkor-cli export fed what a user may hand it: line ends and decimal separators of other
// programs, text that is no data file, broken lines, special files, a huge sparse file, and a
// disk that fills up under the CSV file. Whatever fails leaves the earlier CSV file as it was.

#include "cli/Cli.h"
#include "log/DataLine.h"
#include "platform/MemorySerial.h"
#include "tests/platform/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <optional>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velkor::cli {
namespace {

using velkor::testing::Slurp;
using velkor::testing::TempFolder;
using namespace std::string_literals;

// Lets files of this process grow to `bytes` only while it lives; writes beyond fail with
// EFBIG, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

long PeakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::string Lines(const std::string& end, char decimal = '.') {
    std::string all;
    for (std::string line :
         {DataLine(1, 2024, 3, 5, 10, 30, 0, 215, 453), DataLine(2, 2024, 3, 5, 11, 30, 0, -52, 5),
          DataLine(3, 2024, 3, 5, 12, 30, 0, 0, 1000)}) {
        line.resize(line.size() - 2);
        for (char& c : line)
            if (c == '.')
                c = decimal;
        all += line + end;
    }
    return all;
}

const std::string Header = "time,temperature_c,humidity_pct\r\n";
const std::string Row1 = "2024-03-05 10:30:00,21.5,45.3\r\n";
const std::string Row2 = "2024-03-05 11:30:00,-5.2,0.5\r\n";
const std::string Row3 = "2024-03-05 12:30:00,0.0,100.0\r\n";
const std::string OldCsv = "the CSV file of an earlier export\r\n";

std::string Repeated(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

std::string Utf16(const std::string& text) {
    std::string out = "\xFF\xFE";
    for (const char c : text)
        out += std::string{c, '\0'};
    return out;
}

std::string Binary() {
    std::string bytes;
    for (int i = 0; i < 3000; ++i)
        bytes += static_cast<char>((i * 7919) % 256);
    return bytes;
}

TEST(CliExport, EveryKindOfFileGivesTheSoundResult) {
    const struct {
        const char* name;
        std::string contents;
        // Makes the data file instead of `contents`, or names a special file; returns its name.
        std::function<std::string(const std::string& file)> make;
        int code;
        std::string csv;       // the CSV file afterwards: OldCsv when it must stay as it was
        std::string err;       // {data} and {csv} stand for the file names
        bool fullDisk = false; // the CSV file cannot grow beyond 40 bytes
    } cases[] = {
        {"CR line ends",
         Lines("\r"),
         {},
         0,
         Header + Row1 + Row2 + Row3,
         "3 rows written to {csv}\n"},
        {"decimal comma",
         Lines("\r\n", ','),
         {},
         0,
         Header + Row1 + Row2 + Row3,
         "3 rows written to {csv}\n"},
        {"text header lines",
         "Rejestrator RTW01\r\nczas\ttemperatura\r\n" + Lines("\r\n"),
         {},
         0,
         Header + Row1 + Row2 + Row3,
         "3 rows written to {csv}\n"},
        {"empty file", "", {}, 0, Header, "0 rows written to {csv}\n"},
        {"month 13",
         "1\t2024-13-05 10:30:00\t+021.5\t45.3\r\n" + Lines("\r\n"),
         {},
         3,
         Header + Row1 + Row2 + Row3,
         "3 rows written to {csv}\nBad lines left out: 1, the first is line 1.\n"},
        {"humidity 1e308",
         Lines("\r\n") + "4\t2024-03-05 13:30:00\t+021.5\t1e308\r\n",
         {},
         3,
         Header + Row1 + Row2 + Row3,
         "3 rows written to {csv}\nBad lines left out: 1, the first is line 4.\n"},
        {"a line cut short",
         Lines("\r\n") + "4\t2024-03-0",
         {},
         3,
         Header + Row1 + Row2 + Row3,
         "3 rows written to {csv}\nBad lines left out: 1, the first is line 4.\n"},
        {"NUL bytes",
         "1\t2024-03-05\0 10:30:00\t+021.5\t45.3\r\n"s,
         {},
         2,
         OldCsv,
         "velkor-cli: File {data} holds no logger data.\n"},
        {"UTF-16",
         Utf16(Lines("\r\n")),
         {},
         2,
         OldCsv,
         "velkor-cli: File {data} holds no logger data.\n"},
        {"binary", Binary(), {}, 2, OldCsv, "velkor-cli: File {data} holds no logger data.\n"},
        {"only text",
         "czas\ttemperatura\r\nbrak danych\r\n",
         {},
         2,
         OldCsv,
         "velkor-cli: File {data} holds no logger data.\n"},
        {"/dev/zero", "", [](const std::string&) { return std::string("/dev/zero"); }, 2, OldCsv,
         "velkor-cli: {data} is not a regular file.\n"},
        {"FIFO", "",
         [](const std::string& file) {
             std::filesystem::remove(file);
             EXPECT_EQ(::mkfifo(file.c_str(), 0600), 0);
             return file;
         },
         2, OldCsv, "velkor-cli: {data} is not a regular file.\n"},
        {"2 GB sparse", "",
         [](const std::string& file) {
             EXPECT_EQ(::truncate(file.c_str(), 2LL << 30), 0);
             return file;
         },
         2, OldCsv, "velkor-cli: File {data} holds no logger data.\n"},
        // Zeros after the data, as a crash leaves them: read up to the first zero only.
        {"data, then 2 GB of zeros", Repeated(Lines("\r\n"), 200),
         [](const std::string& file) {
             EXPECT_EQ(::truncate(file.c_str(), 2LL << 30), 0);
             return file;
         },
         3, Header + Repeated(Row1 + Row2 + Row3, 200),
         "600 rows written to {csv}\nBad lines left out: 1, the first is line 601.\n"},
        {"full disk",
         Lines("\r\n"),
         {},
         2,
         OldCsv,
         "velkor-cli: Error: {csv}: File too large\n",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        std::string data = folder.file("log.txt", c.contents).string();
        if (c.make)
            data = c.make(data);
        const std::string csv = folder.file("log.csv", OldCsv).string();

        const long peakBefore = PeakResidentKilobytes();
        std::ostringstream out, err;
        MemorySerialPorts ports;
        RecordingPause pause;
        Services services{ports, pause, {}, out, err, false, [] { return 0.0; }, {}, {}};
        {
            std::optional<FileSizeLimit> limit;
            if (c.fullDisk)
                limit.emplace(40);
            EXPECT_EQ(RunCli({"export", data, "-o", csv}, services), c.code);
        }
        EXPECT_LT(PeakResidentKilobytes() - peakBefore, 64 * 1024) << "memory bounded";

        std::string expected = c.err;
        for (const auto& [key, value] : {std::pair{"{data}", data}, std::pair{"{csv}", csv}})
            if (const std::size_t at = expected.find(key); at != std::string::npos)
                expected.replace(at, std::string(key).size(), value);
        EXPECT_EQ(err.str(), expected);
        EXPECT_EQ(Slurp(csv), c.csv);
        // Nothing left behind: no temporary file beside the CSV file.
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(folder.path()))
            ++entries;
        EXPECT_EQ(entries, 2u);
    }
}

} // namespace
} // namespace velkor::cli
