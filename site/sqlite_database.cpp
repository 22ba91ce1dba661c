#include <sqlite3.h>

#include <chrono>
#include <map>
#include <thread>

#include "site/database.h"

namespace site {
namespace {

// A request must answer, with 503 at worst, within 5 seconds: writers wait for each
// other that long at most, and no statement runs longer than its allowance.
constexpr int kBusyTimeoutMs = 2500;
constexpr auto kStatementAllowance = std::chrono::milliseconds(3000);
// Migrations and operator commands may take minutes on a large store.
constexpr int kLongBusyTimeoutMs = 30 * 60 * 1000;

class SqliteDatabase : public Database {
 public:
  explicit SqliteDatabase(const std::string& path) {
    int rc = sqlite3_open_v2(path.c_str(), &db_,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
      std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      throw DatabaseError("cannot open " + path + ": " + message);
    }
    // Writers wait for each other instead of failing at once, but not for long.
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    sqlite3_progress_handler(db_, 1000, &SqliteDatabase::TooLong, this);
    try {
      // WAL: readers never block the writer; NORMAL sync keeps every committed
      // transaction through a crash of the process (only a power cut may lose the last).
      ExecWhileBusy("PRAGMA journal_mode=WAL");
      Exec("PRAGMA synchronous=NORMAL");
      Exec("PRAGMA foreign_keys=ON");
    } catch (...) {
      sqlite3_close(db_);
      throw;
    }
  }

  ~SqliteDatabase() override {
    for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
    sqlite3_close(db_);
  }

  std::vector<SqlRow> Query(const std::string& sql, const std::vector<SqlParam>& params) override {
    StartStatement();
    sqlite3_stmt* stmt = Prepare(sql);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    int count = sqlite3_bind_parameter_count(stmt);
    for (int i = 1; i <= count; ++i) {
      const char* name = sqlite3_bind_parameter_name(stmt, i);  // "$3"
      size_t index = name && name[0] == '$' ? std::stoul(name + 1) : 0;
      if (index == 0 || index > params.size()) throw DatabaseError("unbound parameter in: " + sql);
      const SqlParam& p = params[index - 1];
      int rc = std::holds_alternative<int64_t>(p)
                   ? sqlite3_bind_int64(stmt, i, std::get<int64_t>(p))
                   : sqlite3_bind_text(stmt, i, std::get<std::string>(p).data(),
                                       static_cast<int>(std::get<std::string>(p).size()), SQLITE_TRANSIENT);
      if (rc != SQLITE_OK) Fail("bind");
    }
    std::vector<SqlRow> rows;
    for (;;) {
      int rc = sqlite3_step(stmt);
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) {
        sqlite3_reset(stmt);
        Fail("step");
      }
      SqlRow row;
      for (int c = 0, n = sqlite3_column_count(stmt); c < n; ++c) {
        const unsigned char* text = sqlite3_column_text(stmt, c);
        row.emplace_back(text ? reinterpret_cast<const char*>(text) : "",
                         static_cast<size_t>(sqlite3_column_bytes(stmt, c)));
      }
      rows.push_back(std::move(row));
    }
    sqlite3_reset(stmt);
    return rows;
  }

  // IMMEDIATE takes the write lock at once, so two writers never deadlock upgrading.
  void BeginWrite() override { Exec("BEGIN IMMEDIATE"); }
  // A deferred transaction reads one snapshot of the WAL from its first read on.
  void BeginRead() override { Exec("BEGIN"); }
  void Commit() override { Exec("COMMIT"); }
  void AllowLongStatements(bool allow) override {
    sqlite3_busy_timeout(db_, allow ? kLongBusyTimeoutMs : kBusyTimeoutMs);
    longStatements_ = allow;
  }
  void Rollback() override {
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }

 private:
  sqlite3_stmt* Prepare(const std::string& sql) {
    auto found = statements_.find(sql);
    if (found != statements_.end()) return found->second;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK)
      Fail("prepare");
    statements_.emplace(sql, stmt);
    return stmt;
  }

  void Exec(const char* sql) {
    StartStatement();
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail(sql);
  }

  // Switching the journal mode needs the store to itself, and SQLite answers "locked"
  // at once, without the busy timeout, while another server opens the same store.
  void ExecWhileBusy(const char* sql) {
    for (int waited = 0;; waited += 10) {
      int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
      if (rc == SQLITE_OK) return;
      if ((rc & 0xff) != SQLITE_BUSY || waited >= 5000) Fail(sql);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  [[noreturn]] void Fail(const std::string& what) {
    throw DatabaseError("sqlite " + what + ": " + sqlite3_errmsg(db_));
  }

  void StartStatement() {
    statementDeadline_ = longStatements_ ? std::chrono::steady_clock::time_point::max()
                                         : std::chrono::steady_clock::now() + kStatementAllowance;
  }

  static int TooLong(void* self) {
    return std::chrono::steady_clock::now() > static_cast<SqliteDatabase*>(self)->statementDeadline_ ? 1 : 0;
  }

  sqlite3* db_ = nullptr;
  bool longStatements_ = false;
  std::chrono::steady_clock::time_point statementDeadline_ = std::chrono::steady_clock::time_point::max();
  std::map<std::string, sqlite3_stmt*> statements_;
};

}  // namespace

std::unique_ptr<Database> OpenSqlite(const std::string& path) {
  return std::make_unique<SqliteDatabase>(path);
}

}  // namespace site
