// The installed kind of velkor-cli: a program that needs no display and no Qt library.

#include "tests/support/TempFolder.h"
#include "tools/loggersim/LoggerSim.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace velkor::testing {
namespace {

struct Output {
    int code = -1;
    std::string text;
};

Output Shell(const std::string& command) {
    Output output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return output;
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe))
        output.text += buffer.data();
    const int status = ::pclose(pipe);
    output.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

TEST(CliProcess, RunsWithoutDisplayAndLinksNoQt) {
    TempFolder home;
    ScopedEnv config{"XDG_CONFIG_HOME", home.path().c_str()};
    sim::LoggerSim logger;
    logger.start(3);

    const Output info =
        Shell("env -u DISPLAY -u WAYLAND_DISPLAY " VELKOR_CLI " info --port COM3 --json 2>&1");
    EXPECT_EQ(info.code, 0) << info.text;
    EXPECT_TRUE(info.text.starts_with("{\"port\": \"COM3\", \"identifier\": \"RTW01234\""))
        << info.text;

    const Output ldd = Shell("ldd " VELKOR_CLI);
    EXPECT_EQ(ldd.code, 0);
    EXPECT_NE(ldd.text.find("libc.so"), std::string::npos) << ldd.text;
    EXPECT_EQ(ldd.text.find("Qt"), std::string::npos) << ldd.text;
}

} // namespace
} // namespace velkor::testing
