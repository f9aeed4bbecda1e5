#include "log/CsvExport.h"

#include "log/DataLine.h"
#include "platform/Errors.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace velkor;

using velkor::testing::Slurp;

TEST(CsvExportTest, RowOfEachKindOfDataLine) {
    const struct {
        std::string line;
        std::string row;
    } cases[] = {
        {DataLine(1, 2024, 2, 29, 12, 0, 0, 215, 453), "2024-02-29 12:00:00,21.5,45.3"},
        {DataLine(2, 2024, 3, 1, 0, 0, 5, 0, 0), "2024-03-01 00:00:05,0.0,0.0"},
        {DataLine(3, 2024, 3, 1, 23, 59, 59, -1, -5), "2024-03-01 23:59:59,-0.1,-0.5"},
        {DataLine(4, 2255, 12, 31, 1, 2, 3, -32768, 1000), "2255-12-31 01:02:03,-3276.8,100.0"},
        {"5\t2024-03-01 10:00:00\t+1.5e1\t 7", "2024-03-01 10:00:00,15.0,7.0"},
        {"5\t2024-03-01 10:00:00\t1e-7\t-0.25", "2024-03-01 10:00:00,0.0000001,-0.25"},
        {"5\t2024-03-01 10:00:00\t-1e20\t4.9e-324",
         "2024-03-01 10:00:00,-100000000000000000000.0,0." + std::string(323, '0') + "5"},
        // Missing or malformed values give empty fields; the row is still written.
        {"6\t2024-03-01 10:00:00\t12,5\t", "2024-03-01 10:00:00,,"},
        {"7\t2024-03-01 10:00:00\tinf\t45.3x", "2024-03-01 10:00:00,,"},
        {"8\t2024-03-01 10:00:00\t+021.5", "2024-03-01 10:00:00,21.5,"},
        {"9\t2024-02-30 10:00:00\t+021.5\t45.3", ",21.5,45.3"},
        {"10\t2024-03-01 10:00\t+021.5\t45.3", ",21.5,45.3"},
        {"11\t2024-03-01 24:00:00\t-\t.", ",,"},
        {"rubbish", ",,"},
    };
    for (const auto& c : cases) {
        std::string line = c.line;
        if (line.ends_with("\r\n"))
            line.resize(line.size() - 2);
        EXPECT_EQ(CsvRowOfDataLine(line), c.row) << line;
    }
    EXPECT_EQ(CsvRow(45351.5, 21.5, std::nullopt), "2024-02-29 12:00:00,21.5,");
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

    EXPECT_EQ(ExportDataFileToCsv(data.string(), csv.string()), 4u);
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
