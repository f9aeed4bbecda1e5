#include "log/CsvExport.h"

#include "log/DataLine.h"
#include "platform/DateTime.h"
#include "platform/Errors.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace velkor;

using velkor::testing::Slurp;

// Each value with one decimal, as in the data file (the chart's single-precision 21.3 is
// 21.299999237060547), in either dialect.
TEST(CsvExportTest, RowTextsOfNumbers) {
    const struct {
        double time;
        std::optional<double> temperature, humidity;
        std::string comma, polish;
    } cases[] = {
        {45351.5, 21.5, 45.3, "2024-02-29 12:00:00,21.5,45.3", "2024-02-29 12:00:00;21,5;45,3"},
        {45352.0 + 5 * OneSecond, 0.0, 0.0, "2024-03-01 00:00:05,0.0,0.0",
         "2024-03-01 00:00:05;0,0;0,0"},
        {45352.5, -3276.8, 1e-7, "2024-03-01 12:00:00,-3276.8,0.0",
         "2024-03-01 12:00:00;-3276,8;0,0"},
        {45351.5, double(21.3f), std::nullopt, "2024-02-29 12:00:00,21.3,",
         "2024-02-29 12:00:00;21,3;"},
        {45351.5, std::nullopt, double(20.7f), "2024-02-29 12:00:00,,20.7",
         "2024-02-29 12:00:00;;20,7"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CsvLine(CommaCsv, c.time, c.temperature, c.humidity), c.comma);
        EXPECT_EQ(CsvLine(PolishCsv, c.time, c.temperature, c.humidity), c.polish);
    }
}

// Both dialects byte for byte, to a file and to a stream: the comma form for scripts (RFC 4180),
// the Polish form for a Polish spreadsheet (";" between fields, a decimal comma, a UTF-8
// byte-order mark).
TEST(CsvExportTest, DialectsByteForByte) {
    velkor::testing::TempFolder folder;
    const auto data = folder.file("log.txt", DataLine(1, 2024, 2, 29, 12, 0, 0, 207, 423) +
                                                 DataLine(2, 2024, 2, 29, 12, 10, 0, -52, 5));
    const struct {
        const CsvDialect& dialect;
        std::string bytes;
    } cases[] = {
        {CommaCsv, "time,temperature_c,humidity_pct\r\n"
                   "2024-02-29 12:00:00,20.7,42.3\r\n"
                   "2024-02-29 12:10:00,-5.2,0.5\r\n"},
        {PolishCsv, "\xEF\xBB\xBFtime;temperature_c;humidity_pct\r\n"
                    "2024-02-29 12:00:00;20,7;42,3\r\n"
                    "2024-02-29 12:10:00;-5,2;0,5\r\n"},
    };
    for (const auto& c : cases) {
        const auto csv = folder / "log.csv";
        EXPECT_EQ(ExportDataFileToCsv(data.string(), csv.string(), c.dialect).rows, 2u);
        EXPECT_EQ(Slurp(csv), c.bytes);
        std::ostringstream out;
        EXPECT_EQ(ExportDataFileToStream(data.string(), out, "-", c.dialect).rows, 2u);
        EXPECT_EQ(out.str(), c.bytes);
    }
    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    EXPECT_THROW(ExportDataFileToStream(data.string(), broken, "-"), InOutError);
}

TEST(CsvExportTest, FileGivesHeaderAndOneRowPerDataLineTheFirstTwoIncluded) {
    velkor::testing::TempFolder folder;
    const auto data =
        folder.file("log.txt", DataLine(1, 2024, 2, 29, 12, 0, 0, 215, 453) +
                                   DataLine(2, 2024, 2, 29, 12, 10, 0, -1, 5) +
                                   "\r\n" + // a blank line is no data line
                                   DataLine(3, 2024, 2, 29, 12, 20, 0, 0, 1000) +
                                   "4\t2024-02-29 12:30:00\t+020.0\t40.0"); // no CR LF
    const auto csv = folder / "log.csv";
    std::ofstream(csv) << "an older file, longer than the new one ......................";

    const CsvExportResult result = ExportDataFileToCsv(data.string(), csv.string());
    EXPECT_EQ(result.rows, 4u);
    EXPECT_EQ(result.counts.badLines, 0u);
    EXPECT_EQ(Slurp(csv), "time,temperature_c,humidity_pct\r\n"
                          "2024-02-29 12:00:00,21.5,45.3\r\n"
                          "2024-02-29 12:10:00,-0.1,0.5\r\n"
                          "2024-02-29 12:20:00,0.0,100.0\r\n"
                          "2024-02-29 12:30:00,20.0,40.0\r\n");
}

TEST(CsvExportTest, UnreadableDataFileOrUnwritableCsvRaisesInOutError) {
    velkor::testing::TempFolder folder;
    const auto data = folder.file("log.txt", DataLine(1, 2024, 2, 29, 12, 0, 0, 215, 453));
    const struct {
        std::string from, to;
    } cases[] = {
        {(folder / "missing.txt").string(), (folder / "a.csv").string()},
        {data.string(), (folder / "no" / "such" / "folder.csv").string()},
    };
    for (const auto& c : cases) {
        EXPECT_THROW(ExportDataFileToCsv(c.from, c.to), InOutError) << c.from << " " << c.to;
        EXPECT_FALSE(std::filesystem::exists(folder / "a.csv"));
    }
}
