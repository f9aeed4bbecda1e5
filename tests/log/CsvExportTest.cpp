#include "log/CsvExport.h"

#include "log/DataLine.h"
#include "platform/DateTime.h"
#include "platform/Errors.h"
#include "tests/platform/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace velkor;

using velkor::testing::Slurp;

TEST(CsvExportTest, RowTextsOfNumbers) {
    const struct {
        double time;
        std::optional<double> temperature, humidity;
        std::string row;
    } cases[] = {
        {45351.5, 21.5, 45.3, "2024-02-29 12:00:00,21.5,45.3"},
        {45352.0 + 5 * OneSecond, 0.0, 0.0, "2024-03-01 00:00:05,0.0,0.0"},
        {45352.5, -3276.8, 1e-7, "2024-03-01 12:00:00,-3276.8,0.0000001"},
        {45351.5, 21.5, std::nullopt, "2024-02-29 12:00:00,21.5,"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvRow(c.time, c.temperature, c.humidity), c.row);
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
