#pragma once
// The archive's address when it is a PostgreSQL server: a libpq connection URI,
//   postgresql://[user[:password]@][host][:port][/database][?parameter=value&...]
// (postgres:// alike). Anything else names a SQLite file.

#include <string>
#include <string_view>
#include <vector>

namespace velkor::archive {

bool IsPostgresUrl(std::string_view archive);

// The URL as given, without the password of its user part and without a `password` parameter:
// what may be kept in a settings file or shown. libpq finds the password again in ~/.pgpass,
// PGPASSFILE or PGPASSWORD.
std::string WithoutPassword(std::string_view url);

// The passwords a URL holds, as written and percent-decoded, so that a message that quotes a
// piece of the URL can have them blanked out.
std::vector<std::string> PasswordsIn(std::string_view url);

// `text` with every occurrence of each of `secrets` replaced by "***".
std::string Redacted(std::string text, const std::vector<std::string>& secrets);

} // namespace velkor::archive
