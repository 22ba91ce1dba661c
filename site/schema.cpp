#include "site/schema.h"

#include <string>

namespace site {
namespace {

struct Migration {
  int version;
  const char* sql[16];  // statements, run in order; unused ones null
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
      "CREATE INDEX scores_by_rank ON scores (period, score_ms DESC, achieved_at, player_id)"}},
    // Rankings that stay fast however long they grow. Equal times rank by arrival:
    // `arrival` numbers the entries in the order they were stored (a kept counter;
    // the entries already there keep the order they had). score_counts keeps how
    // many entries of a period fall into each bucket of times at five levels
    // (bucket = score_ms >> level; level 32 is the period's total), so a rank or an
    // offset is found by reading at most 256 buckets per level, never the period.
    // Barred installations may not register; every moderation action is logged.
    {2,
     {"ALTER TABLE scores ADD COLUMN arrival BIGINT NOT NULL DEFAULT 0",
      "UPDATE scores SET arrival = o.n FROM (SELECT period, player_id,"
      " ROW_NUMBER() OVER (ORDER BY achieved_at, player_id) AS n FROM scores) AS o"
      " WHERE scores.period = o.period AND scores.player_id = o.player_id",
      "DROP INDEX scores_by_rank",
      "CREATE INDEX scores_in_order ON scores (period, score_ms DESC, arrival)",
      "CREATE INDEX scores_by_player ON scores (player_id)",
      "CREATE TABLE counters (name TEXT PRIMARY KEY, value BIGINT NOT NULL)",
      "INSERT INTO counters (name, value) SELECT 'arrival', COALESCE(MAX(arrival), 0) FROM scores",
      "CREATE TABLE score_counts ("
      " period TEXT NOT NULL,"
      " level INTEGER NOT NULL,"
      " bucket BIGINT NOT NULL,"
      " n BIGINT NOT NULL,"
      " PRIMARY KEY (period, level, bucket))",
      "INSERT INTO score_counts (period, level, bucket, n)"
      " SELECT period, 0, score_ms, COUNT(*) FROM scores GROUP BY period, score_ms"
      " UNION ALL SELECT period, 8, score_ms / 256, COUNT(*) FROM scores GROUP BY period, score_ms / 256"
      " UNION ALL SELECT period, 16, score_ms / 65536, COUNT(*) FROM scores GROUP BY period, score_ms / 65536"
      " UNION ALL SELECT period, 24, score_ms / 16777216, COUNT(*) FROM scores"
      " GROUP BY period, score_ms / 16777216"
      " UNION ALL SELECT period, 32, 0, COUNT(*) FROM scores GROUP BY period",
      "CREATE TABLE barred_stamps ("
      " stamp0 BIGINT NOT NULL,"
      " stamp1 BIGINT NOT NULL,"
      " barred_at BIGINT NOT NULL,"
      " reason TEXT NOT NULL,"
      " PRIMARY KEY (stamp0, stamp1))",
      "CREATE TABLE moderation_log ("
      " at BIGINT NOT NULL,"
      " action TEXT NOT NULL,"
      " player_id BIGINT,"
      " stamp0 BIGINT,"
      " stamp1 BIGINT,"
      " detail TEXT NOT NULL)",
      "CREATE INDEX moderation_log_by_time ON moderation_log (at)"}},
};

int CurrentVersion(Database& db) {
  auto rows = db.Query("SELECT COALESCE(MAX(version), 0) FROM schema_version");
  return std::stoi(rows.at(0).at(0));
}

}  // namespace

int LatestSchemaVersion() { return kMigrations[std::size(kMigrations) - 1].version; }

int Migrate(Database& db) {
  // A migration of a large store takes a while, and other servers starting meanwhile wait for it.
  db.AllowLongStatements(true);
  struct Restore {
    Database& db;
    ~Restore() {
      try {
        db.AllowLongStatements(false);
      } catch (const DatabaseError&) {
      }
    }
  } restore{db};
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
      if (attempt >= 4) throw;
    }
  }
}

}  // namespace site
