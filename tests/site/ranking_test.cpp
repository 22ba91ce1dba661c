// Ranks, pages and "your row" against a ranking worked out by brute force, on a
// store that began at the first schema (entries ordered by time, then when they
// were achieved) and was migrated to kept counts, then took registrations with
// many equal times, better times and corrected names. Equal times rank by arrival.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <tuple>

#include "site/database.h"
#include "site/periods.h"
#include "site/store.h"
#include "store_fixture.h"

namespace {

using site::Period;

// Wednesday 2026-12-09 12:00 in Japan.
constexpr int64_t kWednesday = 1796785200;
constexpr int64_t kDay = 86400;
constexpr uint32_t kStampWord = 1765000000;

// The store as the first schema left it.
const char* const kFirstSchema[] = {
    "CREATE TABLE schema_version (version INTEGER NOT NULL)",
    "CREATE TABLE installations (stamp0 BIGINT NOT NULL, stamp1 BIGINT NOT NULL, public_id BIGINT NOT NULL UNIQUE,"
    " first_seen BIGINT NOT NULL, PRIMARY KEY (stamp0, stamp1))",
    "CREATE TABLE scores (period TEXT NOT NULL, player_id BIGINT NOT NULL REFERENCES installations (public_id),"
    " name TEXT NOT NULL, score_ms BIGINT NOT NULL, score_text TEXT NOT NULL, achieved_at BIGINT NOT NULL,"
    " PRIMARY KEY (period, player_id))",
    "CREATE INDEX scores_by_rank ON scores (period, score_ms DESC, achieved_at, player_id)",
    "INSERT INTO schema_version (version) VALUES (1)",
};

// Times on both sides of the buckets' edges (256, 65536, 16777216 ms), most of them shared.
const uint32_t kTimes[] = {255, 256, 257, 5000, 5000, 5768, 65535, 65536, 65537, 65536 * 3,
                           16777215, 16777216, 16777217, 16777216 + 65536, 40000000};

struct Entry {
  int64_t player;
  uint32_t ms;
  std::tuple<int, int64_t, int64_t> arrival;  // (migrated first, then in order of storing)
  std::string name;
};

// The ranking worked out by hand: per period key, the entry of each player.
class Model {
 public:
  void Put(const std::string& period, Entry e) { periods_[period][e.player] = std::move(e); }
  Entry* Find(const std::string& period, int64_t player) {
    auto p = periods_[period].find(player);
    return p == periods_[period].end() ? nullptr : &p->second;
  }
  std::vector<Entry> Ranked(const std::string& period) {
    std::vector<Entry> out;
    for (auto& [id, e] : periods_[period]) out.push_back(e);
    std::sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) {
      return a.ms != b.ms ? a.ms > b.ms : a.arrival < b.arrival;
    });
    return out;
  }
  int64_t nextArrival = 1;

 private:
  std::map<std::string, std::map<int64_t, Entry>> periods_;
};

int64_t RankOf(const std::vector<Entry>& ranked, uint32_t ms, int64_t except = 0) {
  return 1 + std::count_if(ranked.begin(), ranked.end(),
                           [&](const Entry& e) { return e.ms > ms && e.player != except; });
}

void ExpectSameRanking(site::Store& store, Model& model, Period period, int64_t now) {
  SCOPED_TRACE(site::PeriodName(period));
  constexpr int kPageSize = 7;
  const std::vector<Entry> ranked = model.Ranked(site::PeriodKey(period, now));
  const int pages = std::max<int>(1, (static_cast<int>(ranked.size()) + kPageSize - 1) / kPageSize);
  for (int page = 1; page <= pages + 1; ++page) {
    site::RankingPage got = store.Page(period, now, page, kPageSize);
    ASSERT_EQ(got.total, static_cast<int64_t>(ranked.size()));
    ASSERT_EQ(got.pageCount, pages);
    const size_t first = static_cast<size_t>(page - 1) * kPageSize;
    const size_t count = first >= ranked.size() ? 0 : std::min<size_t>(kPageSize, ranked.size() - first);
    ASSERT_EQ(got.rows.size(), count) << "page " << page;
    for (size_t i = 0; i < count; ++i) {
      const Entry& want = ranked[first + i];
      const site::ScoreRow& row = got.rows[i];
      EXPECT_EQ(row.playerId, want.player) << "page " << page << " row " << i;
      EXPECT_EQ(row.scoreMs, want.ms);
      EXPECT_EQ(row.name, want.name);
      EXPECT_EQ(row.rank, RankOf(ranked, want.ms)) << "page " << page << " row " << i;
    }
  }
  for (size_t i = 0; i < ranked.size(); ++i)
    EXPECT_EQ(store.PageOf(period, now, ranked[i].player, kPageSize), static_cast<int>(i / kPageSize) + 1);
}

class RankingTest : public ::testing::Test {
 protected:
  FreshStore fresh_;
};

TEST_F(RankingTest, EqualsABruteForceRankingAcrossTheMigration) {
  Model model;
  std::mt19937 random(17);
  auto anyTime = [&] { return kTimes[random() % std::size(kTimes)]; };
  std::map<uint32_t, int64_t> players;  // installation -> public id

  {  // A store of the first schema with entries in all three periods, some achieved at the same second.
    auto db = site::OpenDatabase(fresh_.url());
    for (const char* sql : kFirstSchema) db->Query(sql);
    db->BeginWrite();
    for (uint32_t i = 0; i < 60; ++i) {
      const int64_t id = 1000 + (i * 7919) % 601, at = kWednesday - 3600 + i / 3;
      players[i] = id;
      db->Query("INSERT INTO installations (stamp0, stamp1, public_id, first_seen) VALUES ($1, $2, $3, $4)",
                {int64_t{i}, int64_t{kStampWord}, id, at});
      for (Period p : {Period::kAllTime, Period::kWeek, Period::kToday}) {
        if (p == Period::kToday && i % 4 == 0) continue;
        const uint32_t ms = anyTime();
        const std::string key = site::PeriodKey(p, kWednesday);
        db->Query("INSERT INTO scores (period, player_id, name, score_ms, score_text, achieved_at)"
                  " VALUES ($1, $2, $3, $4, $5, $6)",
                  {key, id, "old" + std::to_string(i), int64_t{ms}, std::to_string(ms), at});
        model.Put(key, Entry{id, ms, {0, at, id}, "old" + std::to_string(i)});
      }
    }
    db->Commit();
  }

  site::Store store(fresh_.url());
  for (Period p : {Period::kAllTime, Period::kWeek, Period::kToday}) ExpectSameRanking(store, model, p, kWednesday);

  // Registrations: old and new installations, yesterday and today, ties, better
  // and worse times, the same time under another name.
  for (int n = 0; n < 240; ++n) {
    const uint32_t installation = random() % 110;
    const uint32_t ms = anyTime();
    // Four to a second: equal times within one second still rank by arrival.
    const int64_t now = n < 60 ? kWednesday - kDay + n / 4 : kWednesday + n / 4;
    const std::string name = "n" + std::to_string(random() % 3);
    site::Registration r{{installation, kStampWord}, ms, std::to_string(ms), name};
    site::RegisterResult result = store.Register(r, now);
    if (players.count(installation)) {
      ASSERT_EQ(result.playerId, players[installation]);
    }
    players[installation] = result.playerId;

    site::RegisterOutcome want = site::RegisterOutcome::kNew;
    const int64_t arrival = model.nextArrival++;
    for (Period p : {Period::kAllTime, Period::kWeek, Period::kToday}) {
      const std::string key = site::PeriodKey(p, now);
      Entry* e = model.Find(key, result.playerId);
      site::RegisterOutcome outcome = site::RegisterOutcome::kNew;
      if (!e) {
        model.Put(key, Entry{result.playerId, ms, {1, arrival, 0}, name});
      } else if (ms > e->ms) {
        *e = Entry{result.playerId, ms, {1, arrival, 0}, name};
        outcome = site::RegisterOutcome::kImproved;
      } else if (ms == e->ms && name != e->name) {
        e->name = name;
        outcome = site::RegisterOutcome::kRenamed;
      } else {
        outcome = ms == e->ms ? site::RegisterOutcome::kSame : site::RegisterOutcome::kNotBetter;
      }
      if (p == Period::kAllTime) want = outcome;
    }
    ASSERT_EQ(result.allTime, want) << "registration " << n;
  }

  const int64_t now = kWednesday + 1000;
  for (Period p : {Period::kAllTime, Period::kWeek, Period::kToday}) {
    ExpectSameRanking(store, model, p, now);
    // The rank a time would take, with and without the installation's own entry.
    const auto ranked = model.Ranked(site::PeriodKey(p, now));
    for (uint32_t ms : kTimes) {
      for (uint32_t installation : {3u, 70u, 5000u}) {
        const uint32_t stamp[2] = {installation, kStampWord};
        const int64_t own = players.count(installation) ? players[installation] : 0;
        EXPECT_EQ(store.RankFor(p, now, ms, stamp), RankOf(ranked, ms, own)) << ms << " " << installation;
      }
    }
  }
  // The same store opened again: nothing migrates twice.
  site::Store reopened(fresh_.url());
  ExpectSameRanking(reopened, model, Period::kAllTime, now);
}

}  // namespace
