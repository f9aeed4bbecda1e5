// The data-file reader: which lines are data, which are bad and which are no data lines, with
// their numbers; and a file that shrinks under it.

#include "LogTestSupport.h"

#include "log/DataFileReader.h"
#include "log/DataLine.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace velkor;
using namespace velkor::test;
using namespace std::string_literals;

namespace {

struct Expected {
    std::uint64_t line;
    LineKind kind;
};

std::string Repeated(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

TEST(DataFileReaderTest, EachLineIsDataBadOrNoDataLineWithItsNumber) {
    const std::string good = DataLine(7, 2024, 3, 5, 10, 30, 0, 215, 453);
    const struct {
        const char* name;
        std::string contents;
        std::vector<Expected> lines;
        DataFileCounts counts; // lines, data, not data (blank ones included), first, blank,
                               // bad, first
    } cases[] = {
        {"CR LF, LF and CR line ends",
         "1\t2024-03-05 10:30:00\t+021.5\t45.3\r2\t2024-03-05 10:31:00\t+021,5\t45,3\n" + good,
         {{1, LineKind::Data}, {2, LineKind::Data}, {3, LineKind::Data}},
         {3, 3, 0, 0, 0, 0, 0}},
        {"headers and blank lines",
         "Rejestrator\r\n\r\n  \t\r\n" + good + "czas",
         {{1, LineKind::NotData},
          {2, LineKind::NotData},
          {3, LineKind::NotData},
          {4, LineKind::Data},
          {5, LineKind::NotData}},
         {5, 1, 4, 1, 2, 0, 0}},
        {"bad dates and values",
         good + "2\t2024-13-05 10:30:00\t+021.5\t45.3\r\n" +
             "3\t2024-03-05 10:30:00\t+021.5\t1e308\r\n" +
             "4\t2024-03-05 10:30:00\t+99999\t45.3\r\n" + "5\t2024-03-05 10:30:00\t-100.0\r\n" +
             "6\t2024-03-05 10:30:00\t-999.9\t999.9\r\n" + "7\t2024-03-0",
         {{1, LineKind::Data},
          {2, LineKind::Bad},
          {3, LineKind::Bad},
          {4, LineKind::Bad},
          {5, LineKind::Bad},
          {6, LineKind::Data},
          {7, LineKind::Bad}},
         {7, 2, 0, 0, 0, 5, 2}},
        // Past the start, which must be text: zeros there are no data file at all.
        {"a zero byte ends the text",
         Repeated(good, 200) + "\0"s + good,
         {},
         {201, 200, 0, 0, 0, 1, 201}},
    };
    TempDir dir;
    const std::string name = dir.File("data.txt");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(name, c.contents);
        DataFileReader reader(name);
        std::vector<Expected> lines;
        DataRecord r;
        while (reader.Next(r))
            lines.push_back({r.line, r.kind});
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            ASSERT_LT(i, lines.size());
            EXPECT_EQ(lines[i].line, c.lines[i].line);
            EXPECT_EQ(lines[i].kind, c.lines[i].kind) << "line " << lines[i].line;
        }
        const DataFileCounts& n = reader.Counts();
        EXPECT_EQ(n.lines, c.counts.lines);
        EXPECT_EQ(n.dataLines, c.counts.dataLines);
        EXPECT_EQ(n.notDataLines, c.counts.notDataLines);
        EXPECT_EQ(n.firstNotDataLine, c.counts.firstNotDataLine);
        EXPECT_EQ(n.blankLines, c.counts.blankLines);
        EXPECT_EQ(n.badLines, c.counts.badLines);
        EXPECT_EQ(n.firstBadLine, c.counts.firstBadLine);
    }
}

// Someone truncates the file while it is read: before the reader got to its end, or after.
TEST(DataFileReaderTest, AFileThatShrinksWhileReadIsAFailure) {
    std::string contents;
    for (int n = 1; n <= 20000; ++n) // about 800 KB, several buffer fills
        contents += DataLine(n, 2024, 3, 5, n % 24, n % 60, 0, n % 500, n % 1000);
    TempDir dir;
    const std::string name = dir.File("data.txt");
    for (const bool whileReading : {true, false}) {
        SCOPED_TRACE(whileReading ? "while reading" : "after the last line");
        WriteFile(name, contents);
        DataFileReader reader(name);
        DataRecord r;
        std::uint64_t records = 0;
        const std::uint64_t cutAfter = whileReading ? 1 : 20000;
        try {
            while (reader.NextData(r)) {
                if (++records == cutAfter) {
                    ASSERT_EQ(::truncate(name.c_str(), 100000), 0);
                }
            }
            ADD_FAILURE() << "no DataFileShrankError";
        } catch (const DataFileShrankError& e) {
            EXPECT_EQ(e.fileName(), name);
        }
    }
}

} // namespace
