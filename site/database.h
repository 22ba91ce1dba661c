// One connection to the site's store, SQLite or PostgreSQL, behind the few calls
// the site needs. The SQL is shared by both: parameters are written $1, $2, ...
// (SQLite reads them as named parameters) and every value is bound, never pasted
// into the text. A connection is used by one thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace site {

using SqlParam = std::variant<int64_t, std::string>;
using SqlRow = std::vector<std::string>;  // every column as text; NULL reads as ""

struct DatabaseError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Database {
 public:
  virtual ~Database() = default;
  // Runs one statement (prepared once per connection and kept) and returns its rows.
  virtual std::vector<SqlRow> Query(const std::string& sql, const std::vector<SqlParam>& params = {}) = 0;
  virtual void BeginWrite() = 0;
  // A read-only transaction that sees one snapshot of the store throughout.
  virtual void BeginRead() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
  // Statements of the site's requests are cut short after a few seconds; migrations
  // and operator commands on a large store may take minutes, and wait for each other.
  virtual void AllowLongStatements(bool allow) = 0;
  // True once the connection is lost; the pool then drops it.
  virtual bool Broken() const { return false; }
};

// "sqlite:PATH" or "postgresql://..." (also "postgres://..."); throws DatabaseError.
std::unique_ptr<Database> OpenDatabase(const std::string& url);
bool IsDatabaseUrl(const std::string& url);
// A PostgreSQL address may not carry a password (a process's arguments are
// public): libpq finds it in ~/.pgpass, PGPASSFILE, a service file or PGPASSWORD.
// Throws DatabaseError, saying so, when it does.
void RefusePasswordInUrl(const std::string& url);

std::unique_ptr<Database> OpenSqlite(const std::string& path);
std::unique_ptr<Database> OpenPostgres(const std::string& url);

}  // namespace site
