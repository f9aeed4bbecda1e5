#include "archive/postgres/PgConnection.h"

#include "archive/postgres/PgUrl.h"

#include <libpq-fe.h>
#include <netdb.h>

#include <cstdlib>
#include <cstring>

namespace velkor::archive {
namespace {

// libpq's messages end in a newline and may run over several lines with a tab before the hint.
std::string OneLine(const char* message) {
    std::string line;
    bool space = false;
    for (const char* p = message ? message : ""; *p; ++p) {
        if (*p == '\n' || *p == '\t' || *p == '\r' || *p == ' ') {
            space = !line.empty();
            continue;
        }
        if (space)
            line += ' ';
        space = false;
        line += *p;
    }
    return line;
}

std::string Value(PQconninfoOption* options, const char* keyword) {
    for (PQconninfoOption* o = options; o && o->keyword; ++o)
        if (std::strcmp(o->keyword, keyword) == 0 && o->val)
            return o->val;
    return {};
}

// True when none of the URL's host names is known to the resolver: a typing error, not a server
// that is down, so it is not retried.
bool NoHostResolves(const std::string& url) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(url.c_str(), &error);
    PQfreemem(error);
    if (!options)
        return false;
    std::string hosts = Value(options, "host");
    const std::string hostaddr = Value(options, "hostaddr");
    PQconninfoFree(options);
    if (hosts.empty())
        if (const char* env = std::getenv("PGHOST"))
            hosts = env;
    if (hosts.empty() || !hostaddr.empty())
        return false;
    for (std::size_t p = 0; p <= hosts.size();) {
        std::size_t end = hosts.find(',', p);
        if (end == std::string::npos)
            end = hosts.size();
        const std::string host = hosts.substr(p, end - p);
        p = end + 1;
        if (host.empty() || host.front() == '/' || host.front() == '@')
            return false; // a unix socket
        addrinfo hints{};
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        const int status = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
        if (found)
            ::freeaddrinfo(found);
        if (status != EAI_NONAME)
            return false;
    }
    return true;
}

std::string ServerOf(pg_conn* conn) {
    const char* host = PQhost(conn);
    const char* port = PQport(conn);
    std::string server = host && *host ? host : "localhost";
    if (port && *port)
        server += ":" + std::string(port);
    return server;
}

void IgnoreNotice(void*, const char*) {}

} // namespace

PgError::PgError(Kind kind, std::string server, std::string database, std::string reason,
                 std::string sqlState)
    : std::runtime_error("PostgreSQL " + server + ", database " + database + ": " + reason),
      kind_(kind), server_(std::move(server)), database_(std::move(database)),
      reason_(std::move(reason)), sqlState_(std::move(sqlState)) {}

PgResult::PgResult(pg_result* result) : result_(result, PQclear) {}

int PgResult::rows() const {
    return PQntuples(result_.get());
}

bool PgResult::isNull(int row, int column) const {
    return PQgetisnull(result_.get(), row, column) != 0;
}

std::string PgResult::text(int row, int column) const {
    return std::string(PQgetvalue(result_.get(), row, column),
                       static_cast<std::size_t>(PQgetlength(result_.get(), row, column)));
}

long long PgResult::integer(int row, int column) const {
    return std::strtoll(PQgetvalue(result_.get(), row, column), nullptr, 10);
}

std::optional<long long> PgResult::optionalInteger(int row, int column) const {
    if (isNull(row, column))
        return std::nullopt;
    return integer(row, column);
}

long long PgResult::affected() const {
    return std::strtoll(PQcmdTuples(result_.get()), nullptr, 10);
}

PgConnection::PgConnection(const std::string& url)
    : conn_(nullptr, PQfinish), secrets_(PasswordsIn(url)) {
    // A URL libpq cannot read is refused before any server is asked.
    char* parseError = nullptr;
    if (PQconninfoOption* options = PQconninfoParse(url.c_str(), &parseError)) {
        PQconninfoFree(options);
    } else {
        const std::string reason = Redacted(OneLine(parseError), secrets_);
        PQfreemem(parseError);
        throw PgError(PgError::Kind::Rejected, WithoutPassword(url), "?", reason);
    }
    // The URL's own settings override these defaults, and libpq's environment fills in the rest.
    const char* keywords[] = {"fallback_application_name", "client_encoding", "connect_timeout",
                              "dbname", nullptr};
    const char* timeout = std::getenv("PGCONNECT_TIMEOUT");
    const char* values[] = {"velkor", "UTF8", timeout ? timeout : "10", url.c_str(), nullptr};
    conn_.reset(PQconnectdbParams(keywords, values, 1));
    if (!conn_)
        throw PgError(PgError::Kind::Unreachable, "?", "?", "out of memory");
    server_ = ServerOf(conn_.get());
    const char* database = PQdb(conn_.get());
    database_ = database ? database : "";
    if (PQstatus(conn_.get()) == CONNECTION_OK) {
        PQsetNoticeProcessor(conn_.get(), IgnoreNotice, nullptr);
        return;
    }
    const PgError::Kind kind =
        PQconnectionUsedPassword(conn_.get()) || PQconnectionNeedsPassword(conn_.get())
            ? PgError::Kind::Credentials
        : NoHostResolves(url) ? PgError::Kind::Rejected
                              : PgError::Kind::Unreachable;
    throw PgError(kind, server_, database_,
                  Redacted(OneLine(PQerrorMessage(conn_.get())), secrets_));
}

PgResult PgConnection::exec(const std::string& sql) {
    return checked(PQexec(conn_.get(), sql.c_str()));
}

PgResult PgConnection::exec(const std::string& sql,
                            const std::vector<std::optional<std::string>>& params) {
    std::vector<const char*> values;
    values.reserve(params.size());
    for (const auto& param : params)
        values.push_back(param ? param->c_str() : nullptr);
    return checked(PQexecParams(conn_.get(), sql.c_str(), static_cast<int>(values.size()), nullptr,
                                values.data(), nullptr, nullptr, 0));
}

void PgConnection::copyIn(const std::string& copySql, std::string_view rows) {
    pg_result* start = PQexec(conn_.get(), copySql.c_str());
    if (PQresultStatus(start) != PGRES_COPY_IN)
        fail(start);
    PQclear(start);
    constexpr std::size_t Piece = 1 << 20;
    for (std::size_t p = 0; p < rows.size(); p += Piece) {
        const std::size_t n = std::min(Piece, rows.size() - p);
        if (PQputCopyData(conn_.get(), rows.data() + p, static_cast<int>(n)) != 1)
            break; // the error comes with the result below
    }
    PQputCopyEnd(conn_.get(), nullptr);
    checked(PQgetResult(conn_.get()));
    // A COPY's command ends with one result; drain anything after it.
    while (pg_result* rest = PQgetResult(conn_.get()))
        PQclear(rest);
}

PgResult PgConnection::checked(pg_result* result) {
    const ExecStatusType status = PQresultStatus(result);
    if (result &&
        (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY))
        return PgResult(result);
    fail(result);
}

void PgConnection::fail(pg_result* result) {
    const char* field = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    std::string state = field ? field : "";
    std::string reason = OneLine(result ? PQresultErrorMessage(result) : nullptr);
    if (reason.empty())
        reason = OneLine(PQerrorMessage(conn_.get()));
    PQclear(result);
    const bool lost = PQstatus(conn_.get()) == CONNECTION_BAD;
    throw PgError(lost ? PgError::Kind::Lost : PgError::Kind::Statement, server_, database_,
                  Redacted(std::move(reason), secrets_), std::move(state));
}

} // namespace velkor::archive
