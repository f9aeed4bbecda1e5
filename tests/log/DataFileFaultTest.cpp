// Data files that are not what the loader expects: decimal commas, CR line ends, UTF-16,
// binary data, special files. Each either loads or says what it is, and none hangs.

#include "LogTestSupport.h"

#include "log/DataFileLoader.h"
#include "log/DataLine.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velkor;
using namespace velkor::test;

namespace {

struct DataFileFault : ::testing::Test {
    TempDir dir;
    std::string name = dir.File("data.txt");
    RecordingPlot plot;
    DataFileState state;
    int loadedCalls = 0;

    std::size_t Load(const std::string& fileName) {
        return LoadDataFile(state, fileName, plot, [&] { ++loadedCalls; });
    }
};

// The three data lines every case holds: 10:30 +021.5 45.3, 11:30 -005.2 0.5, 12:30 +000.1 9.9.
std::vector<std::string> ThreeLines(char decimal) {
    std::vector<std::string> lines = {
        DataLine(3, 2024, 3, 5, 10, 30, 0, 215, 453),
        DataLine(4, 2024, 3, 5, 11, 30, 0, -52, 5),
        DataLine(5, 2024, 3, 5, 12, 30, 0, 1, 99),
    };
    for (std::string& l : lines) {
        l.resize(l.size() - 2); // without CR LF
        for (char& c : l)
            if (c == '.')
                c = decimal;
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines, const std::string& end) {
    std::string all = "1" + end + "2" + end;
    for (const auto& l : lines)
        all += l + end;
    return all;
}

std::string Utf16(const std::string& text, bool bigEndian, bool bom) {
    std::string out = bom ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (char c : text) {
        if (bigEndian)
            out += '\0';
        out += c;
        if (!bigEndian)
            out += '\0';
    }
    return out;
}

} // namespace

TEST_F(DataFileFault, DecimalCommasAndCarriageReturnLineEndsLoad) {
    const struct {
        const char* name;
        std::string contents;
    } cases[] = {
        {"commas, CR LF", Joined(ThreeLines(','), "\r\n")},
        {"points, CR", Joined(ThreeLines('.'), "\r")},
        {"commas, CR", Joined(ThreeLines(','), "\r")},
        {"commas, LF", Joined(ThreeLines(','), "\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(name, c.contents);
        EXPECT_EQ(Load(name), 3u);
        const auto t = plot.Series(TemperatureSeries);
        const auto h = plot.Series(HumiditySeries);
        ASSERT_EQ(t.size(), 3u);
        ASSERT_EQ(h.size(), 3u);
        EXPECT_EQ(t[0].x, At(2024, 3, 5, 10, 30, 0));
        EXPECT_EQ(t[0].y, 21.5);
        EXPECT_EQ(h[0].y, static_cast<double>(45.3f));
        EXPECT_EQ(t[1].y, static_cast<double>(-5.2f));
        EXPECT_EQ(h[2].x, At(2024, 3, 5, 12, 30, 0));
        EXPECT_EQ(h[2].y, static_cast<double>(9.9f));
    }
}

// Files with no loadable line say so, instead of loading as an empty chart or failing with a
// text of their zero bytes.
TEST_F(DataFileFault, FilesWithoutLoggerDataSaySo) {
    const std::string text = Joined(ThreeLines('.'), "\r\n");
    std::string binary;
    for (int i = 0; i < 3000; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    std::string controls;
    for (int i = 0; i < 600; ++i)
        controls += static_cast<char>(1 + i % 8);
    const struct {
        const char* name;
        std::string contents;
        bool beforeLoaded; // found before the lines are read
    } cases[] = {
        {"UTF-16 LE with BOM", Utf16(text, false, true), true},
        {"UTF-16 BE with BOM", Utf16(text, true, true), true},
        {"UTF-16 LE without BOM", Utf16(text, false, false), true},
        {"binary", binary, true},
        {"control characters", controls + "\n" + controls + "\n" + controls, true},
        {"dates only", "1\n2\n3\t2024-03-05 10:00:00\n4\t2024-03-05 11:00:00\t\t\n", false},
        {"no valid date", "1\n2\n3\t2024-13-05 10:00:00\t+001.0\t1.0\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(name, c.contents);
        loadedCalls = 0;
        try {
            Load(name);
            ADD_FAILURE() << "no NoLoggerDataError";
        } catch (const NoLoggerDataError& e) {
            EXPECT_EQ(e.fileName(), name);
        }
        EXPECT_TRUE(plot.points.empty());
        EXPECT_EQ(loadedCalls, c.beforeLoaded ? 0 : 1);
        EXPECT_FALSE(IsOpenInProcess(name));
    }
    // A file of headers only is an empty log, not an error.
    WriteFile(name, "1\r\n2\r\n\r\n");
    EXPECT_THROW(Load(name), ConvertError) << "an empty data line stays a conversion error";
    WriteFile(name, "1\r\n2\r\n");
    EXPECT_EQ(Load(name), 0u);
}

// A FIFO with nobody writing, a device or a folder is refused at once instead of blocking.
TEST_F(DataFileFault, OnlyRegularFilesAreOpened) {
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& special : {fifo, std::string("/dev/null"), dir.File("")}) {
        SCOPED_TRACE(special);
        loadedCalls = 0;
        try {
            Load(special);
            ADD_FAILURE() << "no NotRegularFileError";
        } catch (const NotRegularFileError& e) {
            EXPECT_EQ(e.fileName(), special);
        }
        EXPECT_EQ(loadedCalls, 0);
    }
    EXPECT_FALSE(IsOpenInProcess(fifo));
}

// Someone cuts the file short while the chart is being filled: the load says so instead of
// showing part of the file as the whole of it.
TEST_F(DataFileFault, AFileCutShortWhileLoadedIsAnError) {
    std::string contents = "1\r\n2\r\n";
    for (int n = 3; n <= 20000; ++n) // several buffer fills
        contents += DataLine(n, 2024, 3, 5, n % 24, n % 60, 0, n % 500, n % 1000);
    WriteFile(name, contents);
    struct CuttingPlot final : PlotSink {
        std::string file;
        bool cut = false;
        void ClearSeries() override {}
        void AddPoint(int, double, double, std::uint32_t) override {
            if (!cut)
                cut = ::truncate(file.c_str(), 1000) == 0;
        }
        void SetBottomAxisAutomatic() override {}
    } cutting;
    cutting.file = name;
    try {
        LoadDataFile(state, name, cutting, [&] { ++loadedCalls; });
        ADD_FAILURE() << "no DataFileShrankError";
    } catch (const DataFileShrankError& e) {
        EXPECT_EQ(e.fileName(), name);
    }
    EXPECT_TRUE(cutting.cut);
    EXPECT_EQ(loadedCalls, 1);
    EXPECT_FALSE(IsOpenInProcess(name));
}
