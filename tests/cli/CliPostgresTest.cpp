// velkor-cli with its archive on a PostgreSQL server, as programs: twenty downloads from twenty
// simulated loggers into one server at once, a server that goes away in the middle of a
// download, refused logins, and an archive copied to the server and back.

#include "archive/Archive.h"
#include "tests/archive/ArchiveFixture.h"
#include "tests/archive/postgres/PgTestDatabase.h"
#include "tests/support/TempFolder.h"
#include "tools/loggersim/LogSource.h"
#include "tools/loggersim/LoggerSim.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <thread>

namespace velkor::testing {
namespace {

using sim::MakeDateTime;

// A command started now and waited for later, its stdout and stderr together.
class Process {
public:
    explicit Process(const std::string& command)
        : pipe_(::popen((command + " 2>&1").c_str(), "r")) {}
    ~Process() {
        if (pipe_)
            wait();
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Waits for the exit; the exit code (-1: no exit of its own).
    int wait() {
        std::array<char, 256> buffer{};
        while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe_))
            output_ += buffer.data();
        const int status = ::pclose(pipe_);
        pipe_ = nullptr;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    const std::string& output() const { return output_; }

private:
    FILE* pipe_;
    std::string output_;
};

struct Finished {
    int code;
    std::string output;
};

Finished Cli(const std::string& arguments) {
    Process p(VELKOR_CLI " " + arguments);
    const int code = p.wait();
    return {code, p.output()};
}

// A server of the test's own, since it is stopped in the middle (tools/test-postgres.sh).
class OwnServer {
public:
    explicit OwnServer(const std::filesystem::path& folder) : folder_(folder / "server") {
        Process start(Script("start"));
        EXPECT_EQ(start.wait(), 0) << start.output();
        // The URL is the line the script prints; anything else there is the tools' talk.
        const std::string& said = start.output();
        const std::size_t at = said.find("postgresql://");
        if (at != std::string::npos)
            url_ = said.substr(at, said.find('\n', at) - at);
        EXPECT_FALSE(url_.empty()) << said;
    }
    ~OwnServer() { Process(Script("stop")).wait(); }
    OwnServer(const OwnServer&) = delete;
    OwnServer& operator=(const OwnServer&) = delete;

    const std::string& url() const { return url_; }
    void halt() { EXPECT_EQ(Process(Script("halt")).wait(), 0); }
    void resume() { EXPECT_EQ(Process(Script("resume")).wait(), 0); }

private:
    std::string Script(const char* command) const {
        return std::string(VELKOR_SOURCE_DIR "/tools/test-postgres.sh ") + command + " '" +
               folder_.string() + "'";
    }
    std::filesystem::path folder_;
    std::string url_;
};

std::size_t Lines(const std::filesystem::path& file) {
    const std::string text = Slurp(file);
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class CliPostgres : public ::testing::Test {
protected:
    void SetUp() override { VELKOR_NEEDS_POSTGRES(); }

    // A logger on COM`port` holding `count` records from March on, its clock long past them.
    std::unique_ptr<sim::LoggerSim> Logger(int port, std::size_t count, sim::Faults faults = {}) {
        sim::LoggerState s;
        s.identification = Id(port) + "\r";
        s.records = sim::GenerateLog(count, March, 600, static_cast<unsigned>(port));
        s.sampleCount = static_cast<std::uint32_t>(count);
        s.loggingStart = March;
        s.intervalSeconds = 600;
        s.clock = MakeDateTime(2024, 6, 1);
        auto logger = std::make_unique<sim::LoggerSim>(s, faults);
        logger->start(port);
        return logger;
    }
    static std::string Id(int port) { return "RTW100" + std::to_string(10 + port); }
    std::string Download(int port, const std::string& url) const {
        return "download --port COM" + std::to_string(port) + " -o '" +
               (home / (std::to_string(port) + ".txt")).string() + "' --archive '" + url + "'";
    }
    static std::string Counts(std::size_t added, std::size_t already) {
        return "Archive: new samples: " + std::to_string(added) +
               ", already there: " + std::to_string(already) + ", conflicting: 0.";
    }

    static constexpr double March = 45352.0; // 2024-03-01 00:00:00
    TempFolder home;
    ScopedEnv config{"XDG_CONFIG_HOME", home.path().c_str()};
    ScopedEnv data{"XDG_DATA_HOME", home.path().c_str()};
};

// Twenty programs reach a new database at the same moment: one creates the tables, and each
// logger's samples are there once. The second round finds them all there.
TEST_F(CliPostgres, TwentyDownloadsAtOnceKeepEverySampleOnce) {
    constexpr int Loggers = 20;
    PgTestDatabase database;
    std::vector<std::unique_ptr<sim::LoggerSim>> loggers;
    for (int port = 1; port <= Loggers; ++port)
        loggers.push_back(Logger(port, 40 + static_cast<std::size_t>(port)));
    for (std::size_t round = 0; round < 2; ++round) {
        std::vector<std::unique_ptr<Process>> programs;
        for (int port = 1; port <= Loggers; ++port)
            programs.push_back(
                std::make_unique<Process>(VELKOR_CLI " " + Download(port, database.url())));
        for (int port = 1; port <= Loggers; ++port) {
            Process& program = *programs[static_cast<std::size_t>(port - 1)];
            const std::size_t records = 40 + static_cast<std::size_t>(port);
            EXPECT_EQ(program.wait(), 0) << port << ": " << program.output();
            EXPECT_NE(program.output().find(round == 0 ? Counts(records, 0) : Counts(0, records)),
                      std::string::npos)
                << port << ": " << program.output();
        }
    }
    const auto archive = archive::OpenArchive(database.url());
    const auto listed = archive->Loggers();
    ASSERT_EQ(listed.size(), static_cast<std::size_t>(Loggers));
    for (int port = 1; port <= Loggers; ++port) {
        const auto& logger = listed[static_cast<std::size_t>(port - 1)];
        EXPECT_EQ(logger.id, Id(port));
        EXPECT_EQ(logger.samples, 40 + port) << logger.id;
        EXPECT_EQ(static_cast<std::size_t>(logger.samples),
                  Lines(home / (std::to_string(port) + ".txt")))
            << logger.id;
        EXPECT_EQ(archive->Downloads(logger.id).size(), 2u) << logger.id;
    }
}

// The server stops while the logger is being read. The data file is written in full either
// way; the archive step is tried again, and succeeds when the server is back in time, or ends
// with exit 5 having stored nothing.
TEST_F(CliPostgres, AServerGoneMidDownloadCostsNoData) {
    OwnServer server(home.path());
    const std::string password = archive::PasswordsIn(server.url()).at(0);
    const std::string where = server.url().substr(server.url().find('@') + 1);
    constexpr std::size_t Records = 150;
    sim::Faults slowBlocks;
    slowBlocks.commands = {"G?"};
    slowBlocks.delayMs = 150;
    for (const bool backInTime : {true, false}) {
        const int port = backInTime ? 1 : 2;
        const auto logger = Logger(port, Records, slowBlocks);
        const auto file = home / (std::to_string(port) + ".txt");
        Process download(VELKOR_CLI " " + Download(port, server.url()));
        const auto readingBlocks = [&] {
            for (const auto& command : logger->received())
                if (command.starts_with("G?"))
                    return true;
            return false;
        };
        for (int i = 0; i < 200 && !readingBlocks(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ASSERT_TRUE(readingBlocks());
        server.halt();
        if (backInTime) {
            for (int i = 0; i < 400 && Lines(file) < Records; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            server.resume();
        }
        const int code = download.wait();
        EXPECT_EQ(Lines(file), Records) << download.output();
        if (backInTime) {
            EXPECT_EQ(code, 0) << download.output();
            EXPECT_NE(download.output().find(Counts(Records, 0)), std::string::npos)
                << download.output();
        } else {
            EXPECT_EQ(code, 5) << download.output();
            EXPECT_NE(download.output().find(where.substr(0, where.find('/'))), std::string::npos)
                << download.output();
            EXPECT_EQ(download.output().find(password), std::string::npos) << download.output();
            server.resume();
        }
        EXPECT_EQ(archive::OpenArchive(server.url())->CountSamples(Id(port), {}),
                  backInTime ? static_cast<std::int64_t>(Records) : 0);
    }
}

// A refused login or a server name that does not resolve is no reason to wait: said at once,
// naming the server. A download has written its data file and exits 5, archive commands exit 2.
TEST_F(CliPostgres, ARefusedLoginNamesTheServer) {
    const std::string url = TestServerUrl();
    const std::string wrong = "Wr0ng-s3cret";
    const std::string hostPort = url.substr(url.find('@') + 1, url.rfind('/') - url.find('@') - 1);
    const auto logger = Logger(1, 30);
    const struct {
        std::string url, server;
    } servers[] = {
        {"postgresql://velkor:" + wrong + "@" + hostPort + "/velkor_test", hostPort},
        {"postgresql://velkor:" + wrong + "@no-such-host.invalid/velkor_test",
         "no-such-host.invalid"},
    };
    for (const auto& s : servers) {
        std::filesystem::remove(home / "1.txt");
        for (const auto& [arguments, code] :
             {std::pair{Download(1, s.url), 5}, {"archive list --archive '" + s.url + "'", 2}}) {
            const Finished run = Cli(arguments);
            EXPECT_EQ(run.code, code) << arguments << ": " << run.output;
            EXPECT_NE(run.output.find(s.server), std::string::npos) << run.output;
            EXPECT_EQ(run.output.find(wrong), std::string::npos) << run.output;
        }
        EXPECT_EQ(Lines(home / "1.txt"), 30u) << s.server;
    }
}

// An archive copied to the server and back holds the same loggers, labels, samples, conflicts
// and erases; copying it again adds nothing.
TEST_F(CliPostgres, ArchiveCopyToTheServerAndBack) {
    PgTestDatabase database;
    const std::string original = (home / "original.sqlite").string();
    const std::string back = (home / "back.sqlite").string();
    {
        auto a = archive::OpenArchive(original);
        auto meta = Meta();
        a->Store({"RTW00001", true}, meta, Samples(Jan2024, 60, 100));
        meta.storedAt += 86400;
        a->Store({"RTW00001", true}, meta, Samples(Jan2024 + 50 * 60, 60, 100, 5)); // conflicts
        a->Store({"RTW00002", false}, meta, Samples(Jan2024, 600, 30));
        a->RecordErase({"RTW00001", meta.storedAt + 60, true});
        a->SetLabel("RTW00002", "Chłodnia 2");
    }
    const auto held = archive::OpenArchive(original)->Check();
    const auto copied = [](std::int64_t downloads, std::int64_t samples, std::int64_t erases,
                           std::int64_t there) {
        return "Copied: downloads: " + std::to_string(downloads) +
               ", new samples: " + std::to_string(samples) + ", erases: " + std::to_string(erases) +
               "; downloads already there: " + std::to_string(there) + ".\n";
    };
    const struct {
        std::string from, to, said;
    } steps[] = {
        {original, database.url(), copied(held.downloads, held.samples, held.eraseEvents, 0)},
        {original, database.url(), copied(0, 0, 0, held.downloads)},
        {database.url(), back, copied(held.downloads, held.samples, held.eraseEvents, 0)},
    };
    for (const auto& step : steps) {
        const Finished run = Cli("archive copy '" + step.from + "' '" + step.to + "'");
        EXPECT_EQ(run.code, 0) << run.output;
        EXPECT_EQ(run.output, step.said);
    }

    const auto a = archive::OpenArchive(original), b = archive::OpenArchive(back);
    const auto conflicts = [](archive::Archive& x) {
        std::vector<std::pair<std::string, archive::Sample>> out;
        for (const auto& c : x.Conflicts(""))
            out.emplace_back(c.logger, c.sample);
        return out;
    };
    const auto loggersA = a->Loggers(), loggersB = b->Loggers();
    ASSERT_EQ(loggersA.size(), loggersB.size());
    for (std::size_t i = 0; i < loggersA.size(); ++i) {
        const auto &x = loggersA[i], &y = loggersB[i];
        EXPECT_EQ(std::tie(x.id, x.humiditySensor, x.label, x.samples, x.first, x.last),
                  std::tie(y.id, y.humiditySensor, y.label, y.samples, y.first, y.last));
        EXPECT_EQ(a->Samples(x.id, {}), b->Samples(y.id, {})) << x.id;
        EXPECT_EQ(a->EraseEvents(x.id).size(), b->EraseEvents(y.id).size()) << x.id;
    }
    EXPECT_EQ(conflicts(*a), conflicts(*b));
}

} // namespace
} // namespace velkor::testing
