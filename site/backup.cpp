#include "site/backup.h"

#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

#include "site/database.h"

extern char** environ;

namespace site {
namespace {

struct SqliteHandle {
  sqlite3* db = nullptr;
  ~SqliteHandle() { sqlite3_close(db); }
};

void Open(SqliteHandle& h, const std::string& path, int flags) {
  if (sqlite3_open_v2(path.c_str(), &h.db, flags, nullptr) != SQLITE_OK)
    throw DatabaseError("cannot open " + path + ": " + (h.db ? sqlite3_errmsg(h.db) : "out of memory"));
  sqlite3_busy_timeout(h.db, 5000);
}

void BackUpSqlite(const std::string& path, const std::string& partial) {
  SqliteHandle source, copy;
  Open(source, path, SQLITE_OPEN_READWRITE);  // not CREATE: a mistyped path is an error
  Open(copy, partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  sqlite3_backup* backup = sqlite3_backup_init(copy.db, "main", source.db, "main");
  if (!backup) throw DatabaseError(std::string("sqlite backup: ") + sqlite3_errmsg(copy.db));
  // All pages in one step: the copy is one read transaction on the source, so it
  // is the store as of that moment, while writers go on in the WAL.
  int rc;
  for (int waited = 0;; waited += 10) {
    rc = sqlite3_backup_step(backup, -1);
    if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || waited >= 10000) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  sqlite3_backup_finish(backup);
  if (rc != SQLITE_DONE) throw DatabaseError(std::string("sqlite backup: ") + sqlite3_errstr(rc));
  // The copy stands alone: no WAL file beside it.
  if (sqlite3_exec(copy.db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr) != SQLITE_OK)
    throw DatabaseError(std::string("sqlite backup: ") + sqlite3_errmsg(copy.db));
}

void BackUpPostgres(const std::string& url, const std::string& partial) {
  std::vector<std::string> args = {"pg_dump", "--format=custom", "--no-owner", "--file", partial,
                                   "--dbname", url};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, "pg_dump", nullptr, nullptr, argv.data(), environ) != 0)
    throw DatabaseError("cannot run pg_dump (Debian package postgresql-client)");
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw DatabaseError("pg_dump failed");
}

}  // namespace

void BackUp(const std::string& url, const std::string& to) {
  if (!IsDatabaseUrl(url)) throw DatabaseError("unknown store: " + url);
  RefusePasswordInUrl(url);
  const std::string partial = to + ".partial";
  std::error_code ec;
  std::filesystem::remove(partial, ec);
  try {
    if (url.rfind("sqlite:", 0) == 0)
      BackUpSqlite(url.substr(7), partial);
    else
      BackUpPostgres(url, partial);
  } catch (...) {
    std::filesystem::remove(partial, ec);
    throw;
  }
  std::filesystem::rename(partial, to);
}

}  // namespace site
