#include "site/store.h"

#include <random>

#include "site/schema.h"

namespace site {
namespace {

int64_t ToInt(const std::string& text) { return std::stoll(text); }

// Public ids fit a JSON number exactly (53 bits) and never collide in practice;
// a collision only makes the insert retry with another one.
int64_t NewPublicId() {
  thread_local std::mt19937_64 random{std::random_device{}()};
  return static_cast<int64_t>((random() >> 11) | 1);
}

const char kSelectRows[] =
    "SELECT player_id, name, score_ms, score_text, achieved_at FROM scores WHERE period = $1"
    " ORDER BY score_ms DESC, achieved_at, player_id LIMIT $2 OFFSET $3";
const char kCountAbove[] = "SELECT COUNT(*) FROM scores WHERE period = $1 AND score_ms > $2";

}  // namespace

Store::Store(std::string url) : url_(std::move(url)) {
  auto db = OpenDatabase(url_);
  Migrate(*db);
  Release(std::move(db));
}

std::unique_ptr<Database> Store::Acquire() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!idle_.empty()) {
      auto db = std::move(idle_.back());
      idle_.pop_back();
      return db;
    }
  }
  return OpenDatabase(url_);
}

void Store::Release(std::unique_ptr<Database> db) {
  if (db->Broken()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  idle_.push_back(std::move(db));
}

// Runs f on a pooled connection; a connection that failed mid-transaction is
// rolled back first, and one that is lost is dropped.
template <typename F>
auto Store::WithDatabase(F&& f) {
  auto db = Acquire();
  try {
    auto result = f(*db);
    Release(std::move(db));
    return result;
  } catch (...) {
    db->Rollback();
    Release(std::move(db));
    throw;
  }
}

RegisterResult Store::Register(const Registration& r, int64_t now) {
  return WithDatabase([&](Database& db) {
    const int64_t s0 = r.stamp[0], s1 = r.stamp[1], ms = r.scoreMs;
    db.BeginWrite();
    std::vector<SqlRow> id;
    for (int attempt = 0; id.empty() && attempt < 3; ++attempt) {
      db.Query("INSERT INTO installations (stamp0, stamp1, public_id, first_seen) VALUES ($1, $2, $3, $4)"
               " ON CONFLICT DO NOTHING",
               {s0, s1, NewPublicId(), now});
      id = db.Query("SELECT public_id FROM installations WHERE stamp0 = $1 AND stamp1 = $2", {s0, s1});
    }
    if (id.empty()) throw DatabaseError("no public id for an installation");
    RegisterResult result{RegisterOutcome::kNew, ToInt(id[0][0])};
    auto before = db.Query("SELECT score_ms FROM scores WHERE period = 'all' AND player_id = $1",
                           {result.playerId});
    if (!before.empty()) {
      int64_t old = ToInt(before[0][0]);
      result.allTime = ms > old ? RegisterOutcome::kImproved
                                : ms == old ? RegisterOutcome::kSame : RegisterOutcome::kNotBetter;
    }
    for (Period p : {Period::kAllTime, Period::kWeek, Period::kToday}) {
      // Only a strictly better time replaces an entry, so a repeat stores nothing.
      db.Query("INSERT INTO scores (period, player_id, name, score_ms, score_text, achieved_at)"
               " VALUES ($1, $2, $3, $4, $5, $6)"
               " ON CONFLICT (period, player_id) DO UPDATE SET name = excluded.name,"
               " score_ms = excluded.score_ms, score_text = excluded.score_text,"
               " achieved_at = excluded.achieved_at WHERE excluded.score_ms > scores.score_ms",
               {PeriodKey(p, now), result.playerId, r.name, ms, r.scoreText, now});
    }
    db.Commit();
    return result;
  });
}

RankingPage Store::Page(Period period, int64_t now, int page, int pageSize) {
  return WithDatabase([&](Database& db) {
    const std::string key = PeriodKey(period, now);
    RankingPage out;
    out.total = ToInt(db.Query("SELECT COUNT(*) FROM scores WHERE period = $1", {key}).at(0).at(0));
    out.pageCount = static_cast<int>(std::max<int64_t>(1, (out.total + pageSize - 1) / pageSize));
    out.page = std::max(1, page);
    int64_t offset = int64_t{out.page - 1} * pageSize;
    for (const SqlRow& row : db.Query(kSelectRows, {key, int64_t{pageSize}, offset})) {
      ScoreRow s{0, ToInt(row[0]), row[1], static_cast<uint32_t>(ToInt(row[2])), row[3], ToInt(row[4])};
      if (out.rows.empty())
        s.rank = 1 + ToInt(db.Query(kCountAbove, {key, int64_t{s.scoreMs}}).at(0).at(0));
      else
        s.rank = s.scoreMs == out.rows.back().scoreMs ? out.rows.back().rank
                                                      : offset + static_cast<int64_t>(out.rows.size()) + 1;
      out.rows.push_back(std::move(s));
    }
    return out;
  });
}

std::optional<int> Store::PageOf(Period period, int64_t now, int64_t playerId, int pageSize) {
  return WithDatabase([&](Database& db) -> std::optional<int> {
    const std::string key = PeriodKey(period, now);
    auto own = db.Query("SELECT score_ms, achieved_at FROM scores WHERE period = $1 AND player_id = $2",
                        {key, playerId});
    if (own.empty()) return std::nullopt;
    // How many entries come before it in the page order.
    auto before = db.Query(
        "SELECT COUNT(*) FROM scores WHERE period = $1 AND (score_ms > $2 OR (score_ms = $2 AND"
        " (achieved_at < $3 OR (achieved_at = $3 AND player_id < $4))))",
        {key, ToInt(own[0][0]), ToInt(own[0][1]), playerId});
    return static_cast<int>(ToInt(before.at(0).at(0)) / pageSize) + 1;
  });
}

int64_t Store::RankFor(Period period, int64_t now, uint32_t scoreMs, const uint32_t stamp[2]) {
  return WithDatabase([&](Database& db) {
    // A range of the rank index, less the installation's own entry.
    auto rows = db.Query(
        "SELECT COUNT(*) FROM scores WHERE period = $1 AND score_ms > $2 AND player_id <> COALESCE("
        "(SELECT public_id FROM installations WHERE stamp0 = $3 AND stamp1 = $4), 0)",
        {PeriodKey(period, now), int64_t{scoreMs}, int64_t{stamp[0]}, int64_t{stamp[1]}});
    return 1 + ToInt(rows.at(0).at(0));
  });
}

std::optional<ScoreRow> Store::OwnBest(const uint32_t stamp[2]) {
  return WithDatabase([&](Database& db) -> std::optional<ScoreRow> {
    auto rows = db.Query(
        "SELECT s.player_id, s.name, s.score_ms, s.score_text, s.achieved_at FROM scores s"
        " JOIN installations i ON i.public_id = s.player_id"
        " WHERE s.period = 'all' AND i.stamp0 = $1 AND i.stamp1 = $2",
        {int64_t{stamp[0]}, int64_t{stamp[1]}});
    if (rows.empty()) return std::nullopt;
    const SqlRow& row = rows[0];
    return ScoreRow{0, ToInt(row[0]), row[1], static_cast<uint32_t>(ToInt(row[2])), row[3], ToInt(row[4])};
  });
}

bool Store::RenameEntry(const uint32_t stamp[2], uint32_t scoreMs, const std::string& name) {
  return WithDatabase([&](Database& db) {
    auto rows = db.Query(
        "UPDATE scores SET name = $1 WHERE player_id = (SELECT public_id FROM installations"
        " WHERE stamp0 = $2 AND stamp1 = $3) AND score_ms = $4 AND name <> $1 RETURNING player_id",
        {name, int64_t{stamp[0]}, int64_t{stamp[1]}, int64_t{scoreMs}});
    return !rows.empty();
  });
}

void Store::Ping() {
  WithDatabase([](Database& db) { return db.Query("SELECT COUNT(*) FROM schema_version").size(); });
}

}  // namespace site
