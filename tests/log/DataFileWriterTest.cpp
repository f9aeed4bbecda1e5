#include "LogTestSupport.h"

#include "log/DataFileCopy.h"
#include "log/DataFileWriter.h"
#include "log/DataLine.h"
#include "platform/Errors.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace velkor;
using namespace velkor::testing;

namespace {

std::string InOutMessage(const std::function<void()>& action) {
    try {
        action();
    } catch (const InOutError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(DataFileWriterTest, CreateTruncatesAndAppendWritesTheBytes) {
    TempFolder dir;
    const std::string name = dir.File("logger.txt");
    WriteFile(name, "old contents that must go\r\n");
    DataFileWriter writer;
    writer.Create(name);
    EXPECT_EQ(ReadFile(name), "");
    writer.Append(DataLine(1, 2024, 3, 5, 8, 30, 0, 215, 453));
    // Nothing is held back in the program: the line is in the file before Close.
    EXPECT_EQ(ReadFile(name), "1\t2024-03-05 08:30:00\t+021.5\t45.3\r\n");
    writer.Close();
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_FALSE(IsOpenInProcess(name));
}

TEST(DataFileWriterTest, FailuresCarryThePlatformMessage) {
    TempFolder dir;
    DataFileWriter writer;
    EXPECT_EQ(InOutMessage([&] { writer.Create(dir.File("missing/logger.txt")); }),
              "No such file or directory");
    EXPECT_FALSE(writer.IsOpen());

    writer.Create("/dev/full");
    EXPECT_EQ(InOutMessage([&] { writer.Append("1\t2024-03-05 08:30:00\t+021.5\t45.3\r\n"); }),
              "No space left on device");
}

TEST(DataFileWriterTest, AFailingWriteLeavesOnlyWholeLines) {
    TempFolder dir;
    const std::string name = dir.File("logger.txt");
    const std::string line = DataLine(1, 2024, 3, 5, 8, 30, 0, 215, 453);
    DataFileWriter writer;
    writer.Create(name);
    std::string message;
    {
        // Room for two lines and a half.
        FileSizeLimit limit(line.size() * 5 / 2);
        writer.Append(line);
        writer.Append(line);
        message = InOutMessage([&] { writer.Append(line); });
    }
    writer.Close();
    EXPECT_EQ(message, "File too large");
    EXPECT_EQ(ReadFile(name), line + line);
}

TEST(DataFileCopyTest, ReplacesAnExistingFileWithoutAsking) {
    TempFolder dir;
    WriteFile(dir.File("logger.txt"), "1\tnew\r\n");
    WriteFile(dir.File("copy.txt"), "an older and longer file\r\n");
    EXPECT_EQ(CopyDataFile(dir.File("logger.txt"), dir.File("copy.txt")).outcome,
              CopyOutcome::Copied);
    EXPECT_EQ(ReadFile(dir.File("copy.txt")), "1\tnew\r\n");
    EXPECT_EQ(ReadFile(dir.File("logger.txt")), "1\tnew\r\n");
}

TEST(DataFileCopyTest, NeverEmptiesTheSourceWhenItIsTheDestination) {
    TempFolder dir;
    const std::string source = dir.File("logger.txt");
    WriteFile(source, "1\tkeep me\r\n");
    std::filesystem::create_symlink(source, dir.File("link.txt"));
    std::filesystem::create_hard_link(source, dir.File("hard.txt"));
    EXPECT_EQ(CopyDataFile(source, source).outcome, CopyOutcome::SameFile);
    EXPECT_EQ(CopyDataFile(source, dir.File("link.txt")).outcome, CopyOutcome::SameFile);
    EXPECT_EQ(CopyDataFile(source, dir.File("hard.txt")).outcome, CopyOutcome::SameFile);
    EXPECT_EQ(CopyDataFile(source, dir.File("./logger.txt")).outcome, CopyOutcome::SameFile);
    EXPECT_EQ(ReadFile(source), "1\tkeep me\r\n");
}

TEST(DataFileCopyTest, FailuresSayWhyAndHarmNothing) {
    TempFolder dir;
    WriteFile(dir.File("copy.txt"), "keep");
    CopyResult missing;
    EXPECT_NO_THROW(missing = CopyDataFile(dir.File("missing.txt"), dir.File("copy.txt")));
    EXPECT_EQ(missing.outcome, CopyOutcome::Failed);
    EXPECT_NE(missing.error.find("missing.txt"), std::string::npos);
    EXPECT_EQ(ReadFile(dir.File("copy.txt")), "keep");
    EXPECT_EQ(CopyDataFile("", dir.File("copy.txt")).outcome, CopyOutcome::Failed);
    WriteFile(dir.File("logger.txt"), "data");
    const CopyResult noFolder =
        CopyDataFile(dir.File("logger.txt"), dir.File("no/such/folder.txt"));
    EXPECT_EQ(noFolder.outcome, CopyOutcome::Failed);
    EXPECT_NE(noFolder.error.find("No such file or directory"), std::string::npos);
}

// A copy that fails half way (the disk fills up) leaves an existing good copy whole, names the
// system's reason and leaves no temporary file behind.
TEST(DataFileCopyTest, AFailingCopyLeavesTheTargetWhole) {
    TempFolder dir;
    const std::string log(4000, 'x');
    WriteFile(dir.File("logger.txt"), log);
    WriteFile(dir.File("copy.txt"), "a good copy\r\n");
    CopyResult result;
    {
        FileSizeLimit limit(1000);
        result = CopyDataFile(dir.File("logger.txt"), dir.File("copy.txt"));
    }
    EXPECT_EQ(result.outcome, CopyOutcome::Failed);
    EXPECT_EQ(result.error.substr(result.error.rfind(": ") + 2), "File too large");
    EXPECT_EQ(ReadFile(dir.File("copy.txt")), "a good copy\r\n");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"copy.txt", "logger.txt"}));
    // The same copy with room for it replaces the target in one piece.
    EXPECT_EQ(CopyDataFile(dir.File("logger.txt"), dir.File("copy.txt")).outcome,
              CopyOutcome::Copied);
    EXPECT_EQ(ReadFile(dir.File("copy.txt")), log);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"copy.txt", "logger.txt"}));
}
