#include "site/schema.h"

#include <string>

namespace site {
namespace {

struct Migration {
  int version;
  const char* sql[4];  // statements, run in order; unused ones null
};

// Stamps and times are BIGINT: a stamp word is unsigned 32-bit, times are Unix seconds.
// An installation is known by its stamp; pages and JSON show only its public_id,
// a random number, so that nobody learns another installation's stamp.
// scores holds one row per installation and period key ("all", "w20261207",
// "d20261210"): the best result registered in that period.
const Migration kMigrations[] = {
    {1,
     {"CREATE TABLE installations ("
      " stamp0 BIGINT NOT NULL,"
      " stamp1 BIGINT NOT NULL,"
      " public_id BIGINT NOT NULL UNIQUE,"
      " first_seen BIGINT NOT NULL,"
      " PRIMARY KEY (stamp0, stamp1))",
      "CREATE TABLE scores ("
      " period TEXT NOT NULL,"
      " player_id BIGINT NOT NULL REFERENCES installations (public_id),"
      " name TEXT NOT NULL,"
      " score_ms BIGINT NOT NULL,"
      " score_text TEXT NOT NULL,"
      " achieved_at BIGINT NOT NULL,"
      " PRIMARY KEY (period, player_id))",
      "CREATE INDEX scores_by_rank ON scores (period, score_ms DESC, achieved_at, player_id)",
      nullptr}},
};

int CurrentVersion(Database& db) {
  auto rows = db.Query("SELECT COALESCE(MAX(version), 0) FROM schema_version");
  return std::stoi(rows.at(0).at(0));
}

}  // namespace

int LatestSchemaVersion() { return kMigrations[std::size(kMigrations) - 1].version; }

int Migrate(Database& db) {
  for (int attempt = 0;; ++attempt) {
    try {
      db.Query("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
      for (const Migration& m : kMigrations) {
        db.BeginWrite();
        if (CurrentVersion(db) < m.version) {
          for (const char* sql : m.sql)
            if (sql) db.Query(sql);
          db.Query("INSERT INTO schema_version (version) VALUES ($1)", {int64_t{m.version}});
        }
        db.Commit();
      }
      return CurrentVersion(db);
    } catch (const DatabaseError&) {
      db.Rollback();
      if (attempt >= 2) throw;
    }
  }
}

}  // namespace site
