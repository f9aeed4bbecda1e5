#include "archive/postgres/PgConnection.h"
#include "archive/postgres/PgUrl.h"
#include "tests/archive/postgres/PgTestDatabase.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

namespace velkor::testing {
namespace {

using archive::PgConnection;
using archive::PgError;

// A TCP port on which nobody listens: the kernel's choice, released again.
int UnusedPort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(s);
    return ntohs(address.sin_port);
}

struct ServerUrl {
    std::string url = TestServerUrl();
    std::string password = archive::PasswordsIn(url).at(0);
    std::string withoutPassword = archive::WithoutPassword(url);
    // "127.0.0.1:PORT"
    std::string hostPort = url.substr(url.find('@') + 1, url.rfind('/') - url.find('@') - 1);
    std::string port = hostPort.substr(hostPort.find(':') + 1);
};

// The password comes from wherever libpq looks for it; no home of the user is read.
TEST(PgConnection, FindsThePasswordWhereLibpqLooks) {
    VELKOR_NEEDS_POSTGRES();
    const ServerUrl server;
    const std::string pgpassLine = "127.0.0.1:" + server.port + ":*:velkor:" + server.password;
    const struct {
        const char* where;
        std::function<std::string(TempFolder&)> setUp; // returns the URL to use
    } cases[] = {
        {"the URL", [&](TempFolder&) { return server.url; }},
        {"PGPASSWORD",
         [&](TempFolder&) {
             ::setenv("PGPASSWORD", server.password.c_str(), 1);
             return server.withoutPassword;
         }},
        {"PGPASSFILE",
         [&](TempFolder& home) {
             const auto file = home.file("elsewhere/pass", pgpassLine + "\n");
             std::filesystem::permissions(file, std::filesystem::perms::owner_read);
             ::setenv("PGPASSFILE", file.c_str(), 1);
             return server.withoutPassword;
         }},
        {"~/.pgpass",
         [&](TempFolder& home) {
             const auto file = home.file(".pgpass", pgpassLine + "\n");
             std::filesystem::permissions(file, std::filesystem::perms::owner_read);
             return server.withoutPassword;
         }},
    };
    for (const auto& c : cases) {
        TempFolder home;
        ScopedEnv homeEnv{"HOME", home.path().c_str()};
        ScopedEnv password{"PGPASSWORD", nullptr}, file{"PGPASSFILE", nullptr};
        const std::string url = c.setUp(home);
        try {
            EXPECT_EQ(PgConnection(url).exec("SELECT current_user").text(0, 0), "velkor")
                << c.where;
        } catch (const PgError& e) {
            ADD_FAILURE() << c.where << ": " << e.what();
        }
    }
}

// Refusals name the server and the database, never the password, and say whether a retry can
// help.
TEST(PgConnection, RefusalsNameTheServerNotThePassword) {
    VELKOR_NEEDS_POSTGRES();
    const ServerUrl server;
    const std::string wrong = "Wr0ng-s3cret";
    const std::string elsewhere = "127.0.0.1:" + std::to_string(UnusedPort());
    const struct {
        std::string url, server;
        PgError::Kind kind;
    } cases[] = {
        {"postgresql://velkor:" + wrong + "@" + server.hostPort + "/velkor_test", server.hostPort,
         PgError::Kind::Credentials},
        {"postgresql://velkor:" + wrong + "@no-such-host.invalid/velkor_test",
         "no-such-host.invalid", PgError::Kind::Rejected},
        {"postgresql://velkor:" + wrong + "@" + elsewhere + "/velkor_test", elsewhere,
         PgError::Kind::Unreachable},
        {"postgresql://velkor:" + wrong + "%zz@" + server.hostPort + "/velkor_test", "",
         PgError::Kind::Rejected},
        {server.url + "?sslmode=require", server.hostPort, PgError::Kind::Unreachable},
    };
    for (const auto& c : cases) {
        try {
            PgConnection connection(c.url);
            ADD_FAILURE() << c.url << " connected";
        } catch (const PgError& e) {
            const std::string message = e.what();
            EXPECT_EQ(e.kind(), c.kind) << message;
            EXPECT_NE(message.find(c.server), std::string::npos) << message;
            EXPECT_EQ(message.find(wrong), std::string::npos) << message;
            EXPECT_EQ(message.find(server.password), std::string::npos) << message;
        }
    }
}

TEST(PgConnection, TellsALostConnectionFromARefusedCommand) {
    VELKOR_NEEDS_POSTGRES();
    PgTestDatabase database;
    PgConnection connection(database.url());
    const struct {
        const char* sql;
        PgError::Kind kind;
    } cases[] = {
        {"SELECT * FROM no_such_table", PgError::Kind::Statement},
        {"SELECT pg_terminate_backend(pg_backend_pid())", PgError::Kind::Lost},
    };
    for (const auto& c : cases) {
        try {
            connection.exec(c.sql);
            ADD_FAILURE() << c.sql;
        } catch (const PgError& e) {
            EXPECT_EQ(e.kind(), c.kind) << e.what();
            EXPECT_NE(
                std::string(e.what()).find(database.url().substr(database.url().rfind('/') + 1)),
                std::string::npos)
                << e.what();
        }
    }
}

} // namespace
} // namespace velkor::testing
