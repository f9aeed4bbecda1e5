// velkor.conf as Qt's QSettings writes it (the lines below are its output for these values).
#include "platform/IniFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace velkor {
namespace {

TEST(IniFile, ReadsValuesAsQSettingsWroteThem) {
    testing::TempFolder folder;
    const auto file = folder.file("velkor.conf", "[archive]\r\n"
                                                 "at=@@start\r\n"
                                                 "location=\"/home/\xC4\x85\xC4\x99 user/a, "
                                                 "b;c=\\\"d\\\"\\\\e/@x.sqlite\"\n"
                                                 "tab=\" lead\\ttrail \"\n"
                                                 "ctl=\\x1b\n"
                                                 "\n"
                                                 "[dialogs]\n"
                                                 "lastFolder=/tmp ; a comment\n");
    const struct {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    } cases[] = {
        {"archive", "location", "/home/\xC4\x85\xC4\x99 user/a, b;c=\"d\"\\e/@x.sqlite"},
        {"archive", "at", "@start"},
        {"archive", "tab", " lead\ttrail "},
        {"archive", "ctl", "\x1b"},
        {"dialogs", "lastFolder", "/tmp"},
        {"dialogs", "location", std::nullopt},
        {"missing", "location", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadIniValue(file.string(), c.section, c.key), c.value) << c.key;
    }
    EXPECT_FALSE(ReadIniValue((folder / "none.conf").string(), "archive", "location"));
}

TEST(IniFile, TheWindowsSettingsFile) {
    const struct {
        const char* config;
        const char* home;
        const char* file;
    } cases[] = {
        {"/c", "/h", "/c/velkor/velkor.conf"},
        {"", "/h", "/h/.config/velkor/velkor.conf"},
        {nullptr, "/h", "/h/.config/velkor/velkor.conf"},
        {nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        testing::ScopedEnv config("XDG_CONFIG_HOME", c.config);
        testing::ScopedEnv home("HOME", c.home);
        EXPECT_EQ(ProgramSettingsFile(), c.file);
    }
}

} // namespace
} // namespace velkor
