#include "log/DataLine.h"

#include <gtest/gtest.h>

using namespace velkor;

TEST(DataLineTest, WritesTheExampleLineExactly) {
    EXPECT_EQ(DataLine(12, 2024, 3, 5, 8, 30, 0, 215, 453),
              "12\t2024-03-05 08:30:00\t+021.5\t45.3\r\n");
}

TEST(DataLineTest, TemperatureFieldSignDigitsAndSpaceForZero) {
    const struct {
        int tenths;
        const char* field;
    } cases[] = {
        {215, "+021.5"},     {-52, "-005.2"},    {0, " 000.0"},    {1, "+000.1"},
        {-1, "-000.1"},      {1234, "+123.4"},   {9999, "+999.9"}, {10000, "+1000.0"},
        {-32768, "-3276.8"}, {32767, "+3276.7"}, {100, "+010.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TemperatureField(c.tenths), c.field) << c.tenths;
}

TEST(DataLineTest, HumidityFieldHasNoLeadingZerosOrSpaces) {
    const struct {
        int tenths;
        const char* field;
    } cases[] = {
        {453, "45.3"}, {5, "0.5"},      {-5, "-0.5"},        {1000, "100.0"},
        {0, "0.0"},    {-123, "-12.3"}, {-32768, "-3276.8"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HumidityField(c.tenths), c.field) << c.tenths;
}

TEST(DataLineTest, RecordNumbersOfOneToNineDigitsAndPaddedDateTime) {
    std::int32_t number = 1;
    for (int digits = 1; digits <= 9; ++digits, number *= 10) {
        const std::string line = DataLine(number, 2001, 1, 2, 3, 4, 5, 0, 0);
        EXPECT_EQ(line, std::to_string(number) + "\t2001-01-02 03:04:05\t 000.0\t0.0\r\n");
        EXPECT_EQ(line.find('\t'), static_cast<std::size_t>(digits));
    }
    // The longest ordinary line stays within the 43 characters the loader reads.
    EXPECT_LE(DataLine(999999999, 2255, 12, 31, 23, 59, 59, -9999, 1000).size() - 2, 43u);
}
