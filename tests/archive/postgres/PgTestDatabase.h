#pragma once
// A fresh database of its own for one test, on the PostgreSQL server that ./test.sh starts for
// the run and names in VELKOR_TEST_PG_URL; dropped afterwards. Without that variable the test
// is skipped: no test talks to a server it did not start.

#include "archive/postgres/PgConnection.h"
#include "archive/postgres/PgUrl.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

namespace velkor::testing {

inline const char* TestServerUrl() {
    return std::getenv("VELKOR_TEST_PG_URL");
}

#define VELKOR_NEEDS_POSTGRES()                                                                    \
    do {                                                                                           \
        if (!::velkor::testing::TestServerUrl())                                                   \
            GTEST_SKIP() << "VELKOR_TEST_PG_URL is not set (./test.sh starts a server)";           \
    } while (false)

// `url` with its database replaced (the test server's URL has no parameters).
inline std::string OnDatabase(const std::string& url, const std::string& database) {
    return url.substr(0, url.rfind('/') + 1) + database;
}

// A new database on the test server, left for the server's end; its name.
inline std::string CreateTestDatabase() {
    std::random_device random;
    const std::string name = "velkor_t" + std::to_string(random()) + std::to_string(random());
    archive::PgConnection(TestServerUrl()).exec("CREATE DATABASE " + name);
    return name;
}

class PgTestDatabase {
public:
    PgTestDatabase() {
        if (!TestServerUrl())
            return;
        base_ = TestServerUrl();
        name_ = CreateTestDatabase();
        url_ = OnDatabase(base_, name_);
    }
    ~PgTestDatabase() {
        if (name_.empty())
            return;
        try {
            archive::PgConnection(base_).exec("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
        } catch (const archive::PgError&) {
        }
    }
    PgTestDatabase(const PgTestDatabase&) = delete;
    PgTestDatabase& operator=(const PgTestDatabase&) = delete;

    // The database's URL, password included.
    const std::string& url() const { return url_; }

private:
    std::string base_, name_, url_;
};

} // namespace velkor::testing
