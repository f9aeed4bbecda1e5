#include "link/Commands.h"

#include "platform/DateTime.h"

#include <gtest/gtest.h>

using namespace velkor;

TEST(Commands, SetCommandsAreBuiltDigitByDigit) {
    EXPECT_EQ(cmd::SetLoggingStart(7, 8, 9, 5, 2, 2024), "R!070809050224\r");
    EXPECT_EQ(cmd::SetClockTime(8, 7, 6), "T!080706\r");
    EXPECT_EQ(cmd::SetClockDate(9, 12, 2031), "D!091231\r");
    EXPECT_EQ(cmd::SetInterval(0, 0, 10), "I!000010\r");
    EXPECT_EQ(cmd::SetSampleCount("0000360"), "S!0000360\r");
    EXPECT_EQ(cmd::SetLoggingStart(0, 0, 0, 1, 1, 1999), "R!000000010199\r");
}

TEST(Commands, BlockRequestsCarryFiveDigits) {
    EXPECT_EQ(cmd::RequestBlock(0), "G?00000\r");
    EXPECT_EQ(cmd::RequestBlock(25), "G?00025\r");
    EXPECT_EQ(cmd::RequestBlock(99999), "G?99999\r");
    EXPECT_EQ(cmd::RequestBlock(0).size(), 8u);
}

TEST(Commands, FixedCommands) {
    for (const auto* c :
         {&cmd::Identify, &cmd::QueryClockTime, &cmd::QueryClockDate, &cmd::QueryInterval,
          &cmd::QueryLoggingStart, &cmd::QuerySampleCount, &cmd::QueryBattery, &cmd::Erase}) {
        ASSERT_EQ(c->size(), 3u);
        EXPECT_EQ((*c)[2], '\r');
    }
    EXPECT_EQ(cmd::Identify, "N?\r");
    EXPECT_EQ(cmd::Erase, "E!\r");
}

TEST(Commands, IdentificationReplies) {
    EXPECT_TRUE(cmd::IsLoggerReply("RTW01234\r"));
    EXPECT_TRUE(cmd::IsLoggerReply("RT"));
    EXPECT_FALSE(cmd::IsLoggerReply("rtw01234"));
    EXPECT_FALSE(cmd::IsLoggerReply("R"));
    EXPECT_TRUE(cmd::HasHumidity("RTW01234"));
    EXPECT_FALSE(cmd::HasHumidity("RTT01234"));
    EXPECT_FALSE(cmd::HasHumidity("RT"));
}

TEST(Commands, FieldsAreCutAtOneBasedPositions) {
    EXPECT_EQ(cmd::Field("T?120000", 3, 4), "12");
    EXPECT_EQ(cmd::Field("S?0001234", 3, 9), "0001234");
    EXPECT_EQ(cmd::Field("U?036", 3, 7), "036");
    EXPECT_EQ(cmd::Field("U", 3, 7), "");
}

TEST(LogRecord, DecodesTheWireLayout) {
    const std::uint8_t bytes[10] = {0x0F, 0x03, 0x0A, 0x0C, 0x1E, 0x00, 0xE7, 0x00, 0xBC, 0x02};
    const auto r = cmd::LogRecord::Decode(bytes);
    double t = 0;
    ASSERT_TRUE(r.DateTime(t));
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", t), "2010-03-15 12:30:00");
    EXPECT_EQ(r.temperature / 10.0, 23.1);
    EXPECT_EQ(r.humidity / 10.0, 70.0);

    const std::uint8_t negative[10] = {1, 1, 24, 0, 0, 0, 0xFF, 0xFF, 0x00, 0x80};
    const auto n = cmd::LogRecord::Decode(negative);
    EXPECT_EQ(n.temperature, -1);
    EXPECT_EQ(n.humidity, -32768);
}

TEST(LogRecord, ErasedSlotsAreNotSamples) {
    const std::uint8_t erased[10] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const std::uint8_t zero[10] = {};
    double t = 0;
    EXPECT_FALSE(cmd::LogRecord::Decode(erased).DateTime(t));
    EXPECT_FALSE(cmd::LogRecord::Decode(zero).DateTime(t));
}
