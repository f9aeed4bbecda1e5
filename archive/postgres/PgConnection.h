#pragma once
// One connection to a PostgreSQL server through libpq. The URL is a libpq connection URI; what it
// leaves out (the password, TLS, timeouts) libpq takes from ~/.pgpass or PGPASSFILE and from its
// environment variables (PGPASSWORD, PGSSLMODE, ...), exactly as psql does. Errors name the
// server and the database, never the password.

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct pg_conn;
struct pg_result;

namespace velkor::archive {

class PgError : public std::runtime_error {
public:
    enum class Kind {
        Unreachable, // no server answers there (stopped, refused, timed out): worth a retry
        Credentials, // the server wants a password, or another one
        Rejected,    // unknown host, a URL libpq cannot read
        Lost,        // the connection broke during a command: worth a retry
        Statement,   // the server refused a command
    };
    PgError(Kind kind, std::string server, std::string database, std::string reason,
            std::string sqlState = {});

    Kind kind() const { return kind_; }
    bool retriable() const { return kind_ == Kind::Unreachable || kind_ == Kind::Lost; }
    const std::string& server() const { return server_; } // "host:port" or the socket folder
    const std::string& database() const { return database_; }
    const std::string& reason() const { return reason_; }     // libpq's words, password blanked
    const std::string& sqlState() const { return sqlState_; } // of a Statement error

private:
    Kind kind_;
    std::string server_, database_, reason_, sqlState_;
};

class PgResult {
public:
    explicit PgResult(pg_result* result);
    int rows() const;
    bool isNull(int row, int column) const;
    std::string text(int row, int column) const;
    long long integer(int row, int column) const;
    std::optional<long long> optionalInteger(int row, int column) const;
    // Rows an INSERT, UPDATE or DELETE touched.
    long long affected() const;

private:
    std::unique_ptr<pg_result, void (*)(pg_result*)> result_;
};

class PgConnection {
public:
    // Connects; throws PgError.
    explicit PgConnection(const std::string& url);

    // One command, or several separated by ';' without parameters.
    PgResult exec(const std::string& sql);
    // One command with $1, $2, ... in text form; nullopt is NULL.
    PgResult exec(const std::string& sql, const std::vector<std::optional<std::string>>& params);
    // COPY ... FROM STDIN with `rows` in COPY's text format, sent in pieces.
    void copyIn(const std::string& copySql, std::string_view rows);

    const std::string& server() const { return server_; }
    const std::string& database() const { return database_; }

private:
    PgResult checked(pg_result* result);
    [[noreturn]] void fail(pg_result* result);

    std::unique_ptr<pg_conn, void (*)(pg_conn*)> conn_;
    std::string server_, database_;
    std::vector<std::string> secrets_;
};

} // namespace velkor::archive
