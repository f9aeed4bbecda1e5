// The shared catalogue: Polish plural forms, placeholders, and file errors worded with the
// file's name and the reason in the chosen language.

#include "messages/Messages.h"
#include "messages/ErrorText.h"
#include "platform/FileSystem.h"
#include "tests/platform/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace velkor {
namespace {

TEST(Messages, FillArgumentsAndAgreeWithNumbers) {
    const char* const samples = "%1 {1:próbka|próbki|próbek}";
    const char* const english = "%1 {1:sample|samples} of %2";
    const struct {
        const char* pattern;
        Language language;
        std::vector<std::string> args;
        const char* text;
    } cases[] = {
        {samples, Language::Polish, {"1"}, "1 próbka"},
        {samples, Language::Polish, {"2"}, "2 próbki"},
        {samples, Language::Polish, {"4"}, "4 próbki"},
        {samples, Language::Polish, {"5"}, "5 próbek"},
        {samples, Language::Polish, {"12"}, "12 próbek"},
        {samples, Language::Polish, {"14"}, "14 próbek"},
        {samples, Language::Polish, {"21"}, "21 próbek"},
        {samples, Language::Polish, {"22"}, "22 próbki"},
        {samples, Language::Polish, {"24"}, "24 próbki"},
        {samples, Language::Polish, {"0"}, "0 próbek"},
        {samples, Language::Polish, {"112"}, "112 próbek"},
        {samples, Language::Polish, {"1003"}, "1003 próbki"},
        {samples, Language::Polish, {"x"}, "x próbek"},
        {english, Language::English, {"1", "3"}, "1 sample of 3"},
        {english, Language::English, {"2"}, "2 samples of "},
        {"100 % %0 {x} %12", Language::English, {"a", "b"}, "100 % %0 {x} a2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatMessage(c.pattern, c.language, c.args), c.text) << c.pattern;
}

#ifndef _WIN32
// What the file layer raises, worded: the file's name and the reason, the system's text only
// for a reason without a text of its own.
TEST(Messages, FileErrorsNameTheFileAndTheReason) {
    testing::TempFolder folder;
    const std::string missing = (folder / "missing.txt").string();
    const std::string loop = (folder / "loop.txt").string();
    std::filesystem::create_symlink(loop, loop);
    const std::string long_name = (folder / std::string(300, 'x')).string();
    const struct {
        std::function<void()> operation;
        Language language;
        std::string text;
    } cases[] = {
        {[&] { files::OpenForReading(missing); }, Language::Polish,
         "Plik " + missing + ": nie ma takiego pliku ani folderu."},
        {[&] { files::OpenForReading(loop); }, Language::English,
         "File " + loop + ": too many levels of symbolic links."},
        {[&] { files::CreateForWriting(folder.path().string()); }, Language::Polish,
         "Plik " + folder.path().string() + ": to jest folder."},
        {[] {
             FileHandle full = files::CreateForWriting("/dev/full");
             files::Write(full, "x", 1);
         },
         Language::Polish, "Plik /dev/full: brak miejsca na dysku."},
        {[&] { files::OpenForReading(long_name); }, Language::English,
         "File " + long_name + ": File name too long."},
    };
    for (const auto& c : cases) {
        try {
            c.operation();
            ADD_FAILURE() << c.text << ": no error";
        } catch (const std::exception& e) {
            EXPECT_EQ(KnownErrorText(c.language, e).value_or(e.what()), c.text);
        }
    }
}
#endif

} // namespace
} // namespace velkor
