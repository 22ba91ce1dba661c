// Fills a store for the ranking benchmark in one transaction: N installations with
// one all-time entry each, in the first schema's tables, so that the site as it
// was before kept counts and the site as it is now (which migrates it) both open it.
//
//   fill_store sqlite:PATH|postgresql://... N
#include <cstdio>
#include <cstdlib>
#include <string>

#include "site/database.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fill_store STORE N\n");
    return 2;
  }
  try {
    auto db = site::OpenDatabase(argv[1]);
    const int64_t n = std::atoll(argv[2]);
    db->AllowLongStatements(true);
    for (const char* sql : {
             "CREATE TABLE schema_version (version INTEGER NOT NULL)",
             "CREATE TABLE installations (stamp0 BIGINT NOT NULL, stamp1 BIGINT NOT NULL,"
             " public_id BIGINT NOT NULL UNIQUE, first_seen BIGINT NOT NULL, PRIMARY KEY (stamp0, stamp1))",
             "CREATE TABLE scores (period TEXT NOT NULL, player_id BIGINT NOT NULL REFERENCES installations (public_id),"
             " name TEXT NOT NULL, score_ms BIGINT NOT NULL, score_text TEXT NOT NULL, achieved_at BIGINT NOT NULL,"
             " PRIMARY KEY (period, player_id))",
             "INSERT INTO schema_version (version) VALUES (1)"})
      db->Query(sql);
    const bool sqlite = std::string(argv[1]).rfind("sqlite:", 0) == 0;
    // A benchmark's store need not survive a crash while it is filled.
    if (sqlite) db->Query("PRAGMA journal_mode=OFF");
    if (sqlite) db->Query("PRAGMA synchronous=OFF");
    db->BeginWrite();
    // Times spread over the game's range with some shared; ten arrivals a second.
    db->Query("WITH RECURSIVE s(i) AS (SELECT CAST(1 AS BIGINT) UNION ALL SELECT i + 1 FROM s WHERE i < $1)"
              " INSERT INTO installations (stamp0, stamp1, public_id, first_seen)"
              " SELECT i, 1, i, 1796000000 + i / 10 FROM s",
              {n});
    db->Query("WITH RECURSIVE s(i) AS (SELECT CAST(1 AS BIGINT) UNION ALL SELECT i + 1 FROM s WHERE i < $1)"
              " INSERT INTO scores (period, player_id, name, score_ms, score_text, achieved_at)"
              " SELECT 'all', i, 'ベンチ', 30 + (i * 7919) % 900000, 'x', 1796000000 + i / 10 FROM s",
              {n});
    db->Query("CREATE INDEX scores_by_rank ON scores (period, score_ms DESC, achieved_at, player_id)");
    db->Commit();
    if (sqlite) db->Query("PRAGMA journal_mode=WAL");
    db->Query("ANALYZE");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fill_store: %s\n", e.what());
    return 1;
  }
  return 0;
}
