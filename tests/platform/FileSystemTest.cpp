// The file seam of the data file layer, on the system the tests run on (POSIX, or Win32 under
// Wine): bytes go out and come back unchanged, only regular files open for reading, and a
// temporary file beside the target replaces it in one step.

#include "platform/FileSystem.h"
#include "platform/Errors.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace velkor;
using velkor::testing::TempFolder;
namespace fs = std::filesystem;

namespace {

std::string NullDevice() {
#ifdef _WIN32
    return "NUL";
#else
    return "/dev/null";
#endif
}

struct FileSystemTest : ::testing::Test {
    TempFolder root;

    // The UTF-8 text of a name in the folder, as the seam takes it.
    std::string path(const std::string& name) const {
        const std::u8string text = (root.path() / Utf8Path(name)).u8string();
        return {text.begin(), text.end()};
    }
    static fs::path Utf8Path(const std::string& text) {
        return fs::path(std::u8string(text.begin(), text.end()));
    }

    static void writeFile(const std::string& path, const std::string& bytes) {
        FileHandle file = files::CreateForWriting(path);
        files::Write(file, bytes.data(), bytes.size());
        files::FlushToDisk(file);
        files::Close(file);
        EXPECT_FALSE(file.IsOpen());
    }
    static std::string readFile(const std::string& path) {
        FileHandle file = files::OpenForReading(path);
        std::string bytes;
        char buffer[7]; // small, so that reads end in the middle of the data
        while (const std::size_t n = files::Read(file, buffer, sizeof buffer))
            bytes.append(buffer, n);
        return bytes;
    }
    // What the file holds, read past the seam.
    static std::string contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(FileSystemTest, BytesAreWrittenAndReadBackUnchanged) {
    const char raw[] = "2024-03-01 12:00:00\t21.5\t40\r\nlf only\ncr only\r\0\xff\x1a end";
    const std::string lines(raw, sizeof raw - 1);
    for (const char* name : {"plain.txt", "pomiary \xc5\xbc\xc3\xb3\xc5\x82w.txt"}) {
        writeFile(path(name), lines);
        EXPECT_EQ(readFile(path(name)), lines) << name;
        EXPECT_EQ(contents(root.path() / Utf8Path(name)), lines) << name;
    }
    writeFile(path("plain.txt"), "short"); // an existing file is truncated
    EXPECT_EQ(contents(root / "plain.txt"), "short");
}

TEST_F(FileSystemTest, OnlyExistingRegularFilesOpenForReading) {
    fs::create_directory(root / "folder");
    for (const std::string& name : {path("folder"), NullDevice()})
        EXPECT_THROW(files::OpenForReading(name), NotRegularFileError) << name;
    try {
        files::OpenForReading(path("missing.txt"));
        FAIL() << "a missing file opened";
    } catch (const NotRegularFileError&) {
        FAIL() << "a missing file is not reported as not regular";
    } catch (const InOutError& e) {
        EXPECT_FALSE(std::string(e.what()).empty());
    }
    EXPECT_THROW(files::CreateForWriting(path("no folder/data.txt")), InOutError);
}

TEST_F(FileSystemTest, OnlyAFileOrANewNameCanBeReplaced) {
    fs::create_directory(root / "folder");
    writeFile(path("data.txt"), "x");
    EXPECT_NO_THROW(files::CheckReplaceable(path("data.txt")));
    EXPECT_NO_THROW(files::CheckReplaceable(path("new.txt")));
    EXPECT_THROW(files::CheckReplaceable(NullDevice()), NotRegularFileError);
    try {
        files::CheckReplaceable(path("folder"));
        FAIL() << "a folder can be replaced";
    } catch (const NotRegularFileError&) {
        FAIL() << "a folder is reported with the system's text";
    } catch (const InOutError& e) {
        EXPECT_FALSE(std::string(e.what()).empty());
    }
}

TEST_F(FileSystemTest, ATemporaryFileBesideTheTargetReplacesItInOneStep) {
    const std::string target = path("data.txt");
    writeFile(target, "old\r\n");
    files::TemporaryFile first = files::CreateTemporaryBeside(target);
    files::TemporaryFile second = files::CreateTemporaryBeside(target);
    EXPECT_NE(first.path, second.path);
    for (const auto* temporary : {&first, &second}) {
        EXPECT_EQ(fs::path(temporary->path).parent_path(), root.path());
        EXPECT_NE(temporary->path, target);
        EXPECT_TRUE(fs::exists(temporary->path));
    }
    files::Write(first.file, "new\r\n", 5);
    files::FlushToDisk(first.file);
    files::Close(first.file);
    files::Close(second.file);
    files::Replace(first.path, target);
    EXPECT_EQ(contents(target), "new\r\n");
    EXPECT_FALSE(fs::exists(first.path));

    // A failed replacement leaves the target as it was.
    EXPECT_THROW(files::Replace(path("gone.txt"), target), InOutError);
    EXPECT_EQ(contents(target), "new\r\n");
    EXPECT_TRUE(files::Remove(second.path));
    EXPECT_FALSE(files::Remove(second.path));
    EXPECT_FALSE(fs::exists(second.path));
}

TEST_F(FileSystemTest, TruncateCutsWhatWasWritten) {
    FileHandle file = files::CreateForWriting(path("cut.txt"));
    files::Write(file, "line one\r\nhalf a li", 19);
    EXPECT_TRUE(files::Truncate(file, 10));
    files::Close(file);
    EXPECT_EQ(contents(root / "cut.txt"), "line one\r\n");
    FileHandle closed;
    EXPECT_FALSE(files::Truncate(closed, 0));
    EXPECT_THROW(files::Write(closed, "x", 1), InOutError);
}

} // namespace
