#include "site/store.h"

#include <map>
#include <random>

#include "site/schema.h"
#include "site/score_counts.h"

namespace site {
namespace {

int64_t ToInt(const std::string& text) { return std::stoll(text); }

// Public ids fit a JSON number exactly (53 bits) and never collide in practice;
// a collision only makes the insert retry with another one.
int64_t NewPublicId() {
  thread_local std::mt19937_64 random{std::random_device{}()};
  return static_cast<int64_t>((random() >> 11) | 1);
}

// Rows of the period from the first entry with time $2 on, in rank order.
const char kSelectRows[] =
    "SELECT player_id, name, score_ms, score_text, achieved_at FROM scores WHERE period = $1 AND score_ms <= $2"
    " ORDER BY score_ms DESC, arrival LIMIT $3 OFFSET $4";

int64_t NextArrival(Database& db) {
  return ToInt(db.Query("UPDATE counters SET value = value + 1 WHERE name = 'arrival' RETURNING value").at(0).at(0));
}

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
    if (!db.Query("SELECT 1 FROM barred_stamps WHERE stamp0 = $1 AND stamp1 = $2", {s0, s1}).empty()) {
      db.Commit();
      return RegisterResult{RegisterOutcome::kBarred, 0};
    }
    std::vector<SqlRow> id;
    for (int attempt = 0; id.empty() && attempt < 3; ++attempt) {
      db.Query("INSERT INTO installations (stamp0, stamp1, public_id, first_seen) VALUES ($1, $2, $3, $4)"
               " ON CONFLICT DO NOTHING",
               {s0, s1, NewPublicId(), now});
      // The update locks the installation until commit (on PostgreSQL; SQLite has one
      // writer anyway), so its entries are read and changed by one registration at a time.
      id = db.Query("UPDATE installations SET first_seen = first_seen WHERE stamp0 = $1 AND stamp1 = $2"
                    " RETURNING public_id",
                    {s0, s1});
    }
    if (id.empty()) throw DatabaseError("no public id for an installation");
    RegisterResult result{RegisterOutcome::kNew, ToInt(id[0][0])};

    const std::string keys[] = {PeriodKey(Period::kAllTime, now), PeriodKey(Period::kWeek, now),
                                PeriodKey(Period::kToday, now)};
    std::map<std::string, std::pair<int64_t, std::string>> before;  // period -> time, name
    for (const SqlRow& row :
         db.Query("SELECT period, score_ms, name FROM scores WHERE player_id = $1 AND period IN ($2, $3, $4)",
                  {result.playerId, keys[0], keys[1], keys[2]}))
      before[row[0]] = {ToInt(row[1]), row[2]};

    int64_t arrival = 0;  // drawn once, when an entry is stored
    ScoreCountChanges counts;
    for (const std::string& key : keys) {
      auto old = before.find(key);
      const bool isAll = key == keys[0];
      if (old == before.end()) {
        if (!arrival) arrival = NextArrival(db);
        db.Query("INSERT INTO scores (period, player_id, name, score_ms, score_text, achieved_at, arrival)"
                 " VALUES ($1, $2, $3, $4, $5, $6, $7)",
                 {key, result.playerId, r.name, ms, r.scoreText, now, arrival});
        counts.Add(key, r.scoreMs);
      } else if (ms > old->second.first) {
        // A better time is a new arrival: among equal times it comes after those already there.
        if (!arrival) arrival = NextArrival(db);
        db.Query("UPDATE scores SET name = $3, score_ms = $4, score_text = $5, achieved_at = $6, arrival = $7"
                 " WHERE period = $1 AND player_id = $2",
                 {key, result.playerId, r.name, ms, r.scoreText, now, arrival});
        counts.Remove(key, static_cast<uint32_t>(old->second.first));
        counts.Add(key, r.scoreMs);
        if (isAll) result.allTime = RegisterOutcome::kImproved;
      } else if (ms == old->second.first && r.name != old->second.second) {
        // The same time again under another name: a correction, the entry keeps its place.
        db.Query("UPDATE scores SET name = $3 WHERE period = $1 AND player_id = $2", {key, result.playerId, r.name});
        if (isAll) result.allTime = RegisterOutcome::kRenamed;
      } else if (isAll) {
        result.allTime = ms == old->second.first ? RegisterOutcome::kSame : RegisterOutcome::kNotBetter;
      }
    }
    counts.Apply(db);
    db.Commit();
    return result;
  });
}

RankingPage Store::Page(Period period, int64_t now, int page, int pageSize) {
  return WithDatabase([&](Database& db) {
    const std::string key = PeriodKey(period, now);
    RankingPage out;
    db.BeginRead();
    out.total = CountEntries(db, key);
    out.pageCount = static_cast<int>(std::max<int64_t>(1, (out.total + pageSize - 1) / pageSize));
    out.page = std::max(1, page);
    const int64_t offset = int64_t{out.page - 1} * pageSize;
    if (offset < out.total) {
      // The counts give the time at the offset and how many come before that time;
      // only the entries with that very time are skipped one by one.
      const Located at = LocateOffset(db, key, offset);
      const int64_t skip = offset - at.above;
      for (const SqlRow& row : db.Query(kSelectRows, {key, int64_t{at.scoreMs}, int64_t{pageSize}, skip})) {
        ScoreRow s{0, ToInt(row[0]), row[1], static_cast<uint32_t>(ToInt(row[2])), row[3], ToInt(row[4])};
        if (out.rows.empty())
          s.rank = at.above + 1;
        else
          s.rank = s.scoreMs == out.rows.back().scoreMs ? out.rows.back().rank
                                                        : offset + static_cast<int64_t>(out.rows.size()) + 1;
        out.rows.push_back(std::move(s));
      }
    }
    db.Commit();
    return out;
  });
}

std::optional<int> Store::PageOf(Period period, int64_t now, int64_t playerId, int pageSize) {
  return WithDatabase([&](Database& db) -> std::optional<int> {
    const std::string key = PeriodKey(period, now);
    db.BeginRead();
    auto own = db.Query("SELECT score_ms, arrival FROM scores WHERE period = $1 AND player_id = $2",
                        {key, playerId});
    std::optional<int> page;
    if (!own.empty()) {
      // Entries before it: every better time, and the same time arrived earlier.
      const int64_t ms = ToInt(own[0][0]);
      int64_t before = CountAbove(db, key, static_cast<uint32_t>(ms));
      before += ToInt(db.Query("SELECT COUNT(*) FROM scores WHERE period = $1 AND score_ms = $2 AND arrival < $3",
                               {key, ms, ToInt(own[0][1])})
                          .at(0)
                          .at(0));
      page = static_cast<int>(before / pageSize) + 1;
    }
    db.Commit();
    return page;
  });
}

int64_t Store::RankFor(Period period, int64_t now, uint32_t scoreMs, const uint32_t stamp[2]) {
  return WithDatabase([&](Database& db) {
    const std::string key = PeriodKey(period, now);
    db.BeginRead();
    int64_t above = CountAbove(db, key, scoreMs);
    // The installation's own entry does not count against it.
    auto own = db.Query(
        "SELECT s.score_ms FROM scores s JOIN installations i ON i.public_id = s.player_id"
        " WHERE s.period = $1 AND i.stamp0 = $2 AND i.stamp1 = $3",
        {key, int64_t{stamp[0]}, int64_t{stamp[1]}});
    if (!own.empty() && ToInt(own[0][0]) > int64_t{scoreMs}) --above;
    db.Commit();
    return 1 + above;
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

void Store::Ping() {
  WithDatabase([](Database& db) { return db.Query("SELECT COUNT(*) FROM schema_version").size(); });
}

}  // namespace site
