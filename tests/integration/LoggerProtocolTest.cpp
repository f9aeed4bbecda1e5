// The simulated logger's answers, without a port: exact reply bytes and state changes.

#include "tools/loggersim/LoggerProtocol.h"
#include "link/Commands.h"
#include "tools/loggersim/LogSource.h"

#include <gtest/gtest.h>

using namespace velkor;
using namespace velkor::sim;

namespace {

struct LoggerProtocol : ::testing::Test {
    LoggerState state;

    void SetUp() override {
        state.clock = MakeDateTime(2024, 2, 5, 7, 8, 9);
        state.intervalSeconds = 10;
        state.loggingStart = MakeDateTime(2024, 3, 1, 12, 0, 0);
        state.sampleCount = 1234;
        state.batteryMillivolts = 3650;
    }
    std::string reply(const std::string& command) {
        const Answer a = AnswerCommand(command, state);
        EXPECT_EQ(a.kind, Answer::Kind::Query) << command;
        return a.reply;
    }
    Answer::Kind kind(const std::string& command) { return AnswerCommand(command, state).kind; }
};

std::string Encoded(const cmd::LogRecord& r) {
    std::uint8_t bytes[cmd::RecordSize];
    EncodeRecord(r, bytes);
    return std::string(bytes, bytes + cmd::RecordSize);
}

} // namespace

TEST_F(LoggerProtocol, QueriesAnswerWithTheirFieldsFromPositionThree) {
    EXPECT_EQ(reply("N?"), "RTW01234\r");
    EXPECT_EQ(reply("T?"), "T?070809\r");
    EXPECT_EQ(reply("D?"), "D?050224\r");
    EXPECT_EQ(reply("I?"), "I?000010\r");
    EXPECT_EQ(reply("R?"), "R?120000010324\r");
    EXPECT_EQ(reply("S?"), "S?0001234\r");
    EXPECT_EQ(reply("U?"), "U?03650\r");
    state.intervalSeconds = 86399;
    EXPECT_EQ(reply("I?"), "I?235959\r");
}

TEST_F(LoggerProtocol, SetCommandsChangeOnlyTheirOwnPart) {
    EXPECT_EQ(kind("T!235958"), Answer::Kind::Set);
    EXPECT_DOUBLE_EQ(state.clock, MakeDateTime(2024, 2, 5, 23, 59, 58));
    EXPECT_EQ(kind("D!091231"), Answer::Kind::Set);
    EXPECT_DOUBLE_EQ(state.clock, MakeDateTime(2031, 12, 9, 23, 59, 58));
    EXPECT_EQ(kind("I!013000"), Answer::Kind::Set);
    EXPECT_EQ(state.intervalSeconds, 5400);
    EXPECT_EQ(kind("R!070809290224"), Answer::Kind::Set);
    EXPECT_DOUBLE_EQ(state.loggingStart, MakeDateTime(2024, 2, 29, 7, 8, 9));
    EXPECT_EQ(kind("S!0204800"), Answer::Kind::Set);
    EXPECT_EQ(state.sampleCount, 204800u);
    EXPECT_EQ(kind("E!"), Answer::Kind::Erase);
}

TEST_F(LoggerProtocol, MalformedOrUnknownCommandsGetNothingAndChangeNothing) {
    const LoggerState before = state;
    for (const char* command :
         {"T!256000", "T!126000", "D!310224", "D!290223", "I!240000", "R!070809300224", "S!12a4567",
          "T!12345", "T!1234567", "S?1", "N?x", "G?0001", "G?0000x", "X?", "", "n?", "E!!"}) {
        const Answer a = AnswerCommand(command, state);
        EXPECT_EQ(a.kind, Answer::Kind::Unknown) << command;
        EXPECT_TRUE(a.reply.empty()) << command;
    }
    EXPECT_DOUBLE_EQ(state.clock, before.clock);
    EXPECT_EQ(state.intervalSeconds, before.intervalSeconds);
    EXPECT_DOUBLE_EQ(state.loggingStart, before.loggingStart);
    EXPECT_EQ(state.sampleCount, before.sampleCount);
}

TEST_F(LoggerProtocol, BlocksHold25RecordsAndErasedMemoryPastTheLog) {
    state.records = GenerateLog(30, MakeDateTime(2024, 3, 1), 600);
    const std::string block0 = reply("G?00000");
    ASSERT_EQ(block0.size(), 250u);
    for (std::size_t i = 0; i < 25; ++i)
        EXPECT_EQ(block0.substr(i * 10, 10), Encoded(state.records[i])) << i;
    const std::string block1 = reply("G?00001");
    ASSERT_EQ(block1.size(), 250u);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(block1.substr(i * 10, 10), Encoded(state.records[25 + i])) << i;
    EXPECT_EQ(block1.substr(50), std::string(200, '\xFF'));
    EXPECT_EQ(reply("G?99999"), std::string(250, '\xFF'));
}

TEST(LoggerRecords, EncodeIsTheInverseOfTheProgramsDecode) {
    // The example record of the protocol: 2010-03-15 12:30:00, 23.1 degrees, 70.0 %.
    const cmd::LogRecord r = MakeRecord(MakeDateTime(2010, 3, 15, 12, 30, 0), 23.1, 70.0);
    EXPECT_EQ(Encoded(r), std::string("\x0F\x03\x0A\x0C\x1E\x00\xE7\x00\xBC\x02", 10));
    const cmd::LogRecord cold = MakeRecord(MakeDateTime(2024, 1, 1), -0.1, -3276.8);
    EXPECT_EQ(Encoded(cold).substr(6), std::string("\xFF\xFF\x00\x80", 4));
    const std::string bytes = Encoded(cold);
    EXPECT_EQ(Encoded(cmd::LogRecord::Decode(reinterpret_cast<const std::uint8_t*>(bytes.data()))),
              bytes);
    EXPECT_THROW(MakeRecord(MakeDateTime(1999, 12, 31), 0, 0), std::invalid_argument);
    EXPECT_THROW(MakeRecord(MakeDateTime(2256, 1, 1), 0, 0), std::invalid_argument);
}
