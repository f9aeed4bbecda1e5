#include "LogTestSupport.h"

#include "log/DataFileLoader.h"
#include "log/DataLine.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

using namespace velkor;
using namespace velkor::testing;

namespace {

struct LoaderFixture : ::testing::Test {
    TempFolder dir;
    std::string name = dir.File("data.txt");
    EventLog events;
    RecordingPlot plot{&events};
    DataFileState state;
    int loadedCalls = 0;
    bool openWhenLoaded = false;

    std::size_t Load(const std::string& contents) {
        WriteFile(name, contents);
        return LoadDataFile(state, name, plot, [&] {
            ++loadedCalls;
            openWhenLoaded = IsOpenInProcess(name);
            events.push_back("loaded");
        });
    }
};

std::string Line(int number, int hour, int temperature, int humidity) {
    return DataLine(number, 2024, 3, 5, hour, 30, 0, temperature, humidity);
}

} // namespace

TEST_F(LoaderFixture, SkipsTheFirstTwoLinesAndPlotsTheRestInTheDefaultColour) {
    std::string file;
    for (int n = 1; n <= 5; ++n)
        file += Line(n, n, 200 + n, 400 + n);
    EXPECT_EQ(Load(file), 3u);

    const auto temperature = plot.Series(TemperatureSeries);
    const auto humidity = plot.Series(HumiditySeries);
    ASSERT_EQ(temperature.size(), 3u);
    ASSERT_EQ(humidity.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const int n = i + 3;
        EXPECT_EQ(temperature[i].x, At(2024, 3, 5, n, 30, 0));
        EXPECT_EQ(temperature[i].y, static_cast<double>(static_cast<float>((200 + n) / 10.0)));
        EXPECT_EQ(humidity[i].y, static_cast<double>(static_cast<float>((400 + n) / 10.0)));
        EXPECT_EQ(temperature[i].color, DefaultPointColor);
        EXPECT_EQ(humidity[i].color, DefaultPointColor);
    }
    EXPECT_EQ(state.DataFileName, name);
    EXPECT_EQ(loadedCalls, 1);
    EXPECT_TRUE(openWhenLoaded) << "the buttons come before the file is closed";
    EXPECT_FALSE(IsOpenInProcess(name));
    // Emptied first, the axis made automatic before each line's points, the buttons last.
    const EventLog expected = {"clear",   "axis", "point 0", "point 1", "axis",  "point 0",
                               "point 1", "axis", "point 0", "point 1", "loaded"};
    EXPECT_EQ(events, expected);
}

TEST_F(LoaderFixture, FilesOfZeroOneAndTwoLinesEmptyTheSeries) {
    for (const std::string& file :
         {std::string(), Line(1, 1, 1, 1), Line(1, 1, 1, 1) + Line(2, 2, 2, 2)}) {
        plot.points.push_back({0, 1.0, 1.0, 0});
        loadedCalls = 0;
        EXPECT_EQ(Load(file), 0u);
        EXPECT_TRUE(plot.points.empty());
        EXPECT_EQ(plot.automaticAxisCalls, 0);
        EXPECT_EQ(loadedCalls, 1);
    }
}

TEST_F(LoaderFixture, ReadsOnlyTheFirst43CharactersOfALine) {
    // Were the rest of a long line taken for a line of its own, it would not convert.
    const std::string tail(200, 'x');
    std::string file = "header " + tail + "\r\n"; // the first line, long
    file += "not a data line\r\n";                // the second, skipped whole
    file += "123456789\t2024-03-05 10:00:00\t+021.5\t100.0" + tail + "\r\n";
    file += "123456789\t2024-03-05 11:00:00\t-005.2\t45.3\r\n";
    EXPECT_EQ(Load(file), 2u);
    const auto temperature = plot.Series(TemperatureSeries);
    const auto humidity = plot.Series(HumiditySeries);
    ASSERT_EQ(humidity.size(), 2u);
    EXPECT_EQ(humidity[0].y, 100.0);
    EXPECT_EQ(humidity[1].y, static_cast<double>(45.3f));
    EXPECT_EQ(temperature[1].y, -5.199999809265137);
}

TEST_F(LoaderFixture, BareLineFeedsAndRecordNumbersOfAnyWidth) {
    std::string file = "a\nb\n";
    std::int32_t number = 1;
    for (int digits = 1; digits <= 9; ++digits, number *= 10) {
        std::string line = DataLine(number, 2024, 3, 5, digits, 0, 0, 10 * digits, 5);
        if (digits % 2 == 0)
            line.erase(line.size() - 2, 1); // LF only
        file += line;
    }
    EXPECT_EQ(Load(file), 9u);
    const auto temperature = plot.Series(TemperatureSeries);
    ASSERT_EQ(temperature.size(), 9u);
    for (int digits = 1; digits <= 9; ++digits) {
        EXPECT_EQ(temperature[digits - 1].x, At(2024, 3, 5, digits, 0, 0));
        EXPECT_EQ(temperature[digits - 1].y, static_cast<double>(static_cast<float>(digits)));
    }
}

TEST_F(LoaderFixture, SingleRoundingSpaceSignAndLinesInAnyOrder) {
    const std::string file = "1\n2\n" + Line(3, 9, 213, 0) + Line(4, 9, 0, 5) + Line(5, 1, -1, -5);
    Load(file);
    const auto t = plot.Series(TemperatureSeries);
    const auto h = plot.Series(HumiditySeries);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].y, 21.299999237060547);
    EXPECT_EQ(t[1].x, t[0].x);
    EXPECT_EQ(t[1].y, 0.0);
    EXPECT_EQ(h[1].y, 0.5);
    EXPECT_EQ(t[2].x, At(2024, 3, 5, 1, 30, 0));
    EXPECT_EQ(t[2].y, static_cast<double>(-0.1f));
    EXPECT_EQ(h[2].y, -0.5);
}

TEST_F(LoaderFixture, InvalidDatesAreSkippedButMakeTheAxisAutomatic) {
    const std::string file = "1\n2\n3\t2024-02-30 10:00:00\t+001.0\t1.0\r\n"
                             "4\t2023-12-31 24:00:00\t+001.0\t1.0\r\n" +
                             Line(5, 1, 10, 10);
    EXPECT_EQ(Load(file), 3u);
    EXPECT_EQ(plot.points.size(), 2u);
    EXPECT_EQ(plot.automaticAxisCalls, 3);
}

TEST_F(LoaderFixture, ANumberFieldThatIsNotANumberAddsNoPointToItsSeries) {
    const std::string file = "1\n2\n"
                             "3\t2024-03-05 10:00:00\t+02x.5\t45.3\r\n"
                             "4\t2024-03-05 11:00:00\t+021.5\t4,5x\r\n"
                             "5\t2024-03-05 12:00:00\r\n"
                             "6\t2024-03-05 13:00:00\t-3276.8\t45.3\r\n";
    Load(file);
    const auto t = plot.Series(TemperatureSeries);
    const auto h = plot.Series(HumiditySeries);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].x, At(2024, 3, 5, 11, 0, 0));
    EXPECT_EQ(t[0].y, 21.5);
    ASSERT_EQ(h.size(), 1u);
    EXPECT_EQ(h[0].x, At(2024, 3, 5, 10, 0, 0));
    EXPECT_EQ(h[0].y, static_cast<double>(45.3f));
}

TEST_F(LoaderFixture, AConversionErrorStopsTheLoadAfterTheButtonsAndTheClose) {
    const std::string file = "1\n2\n" + Line(3, 1, 10, 10) +
                             "4\t20x4-03-05 10:00:00\t+001.0\t1.0\r\n" + Line(5, 2, 1, 1);
    try {
        Load(file);
        FAIL() << "the load must stop";
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'20x4' is not a valid integer value");
        const auto* where = dynamic_cast<const ErrorLocation*>(&e);
        ASSERT_NE(where, nullptr);
        EXPECT_EQ(where->file, name);
        EXPECT_EQ(where->line, 4u);
    }
    EXPECT_EQ(plot.points.size(), 2u) << "points before the bad line stay";
    EXPECT_EQ(loadedCalls, 1);
    EXPECT_FALSE(IsOpenInProcess(name));

    // An empty line among the data lines is the same failure.
    loadedCalls = 0;
    try {
        Load("1\n2\n\r\n" + Line(4, 1, 1, 1));
        FAIL() << "the load must stop";
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(loadedCalls, 1);
}

TEST_F(LoaderFixture, AFileThatCannotBeOpenedLeavesTheSeriesEmptyAndTheButtons) {
    plot.points.push_back({0, 1.0, 1.0, 0});
    const std::string missing = dir.File("missing.txt");
    try {
        LoadDataFile(state, missing, plot, [&] { ++loadedCalls; });
        FAIL() << "the load must stop";
    } catch (const InOutError& e) {
        EXPECT_EQ(e.what(), MissingFileText());
        const auto* where = dynamic_cast<const ErrorLocation*>(&e);
        ASSERT_NE(where, nullptr);
        EXPECT_EQ(where->file, missing);
        EXPECT_EQ(where->line, 0u);
    }
    EXPECT_EQ(state.DataFileName, missing);
    EXPECT_TRUE(plot.points.empty());
    EXPECT_EQ(loadedCalls, 0);
}
