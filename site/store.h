// The rankings kept by the site: one entry per installation and period, the best
// result registered in it. Works the same on SQLite and PostgreSQL; connections
// come from a small pool, one per request in flight.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "site/database.h"
#include "site/periods.h"

namespace site {

struct Registration {
  uint32_t stamp[2];
  uint32_t scoreMs;
  std::string scoreText;
  std::string name;  // already checked
};

enum class RegisterOutcome {
  kNew,        // first entry of this installation
  kImproved,   // better than its entry: replaced
  kSame,       // the same time again: nothing stored
  kNotBetter,  // worse than its entry: nothing stored
  kRenamed,    // the same time with another name: the entry keeps its place, renamed
  kBarred,     // the installation is barred from registering: nothing stored
};

struct RegisterResult {
  RegisterOutcome allTime;
  int64_t playerId;  // 0 when barred
};

// Entries rank by time, best first; equal times share a rank and are listed in the
// order they arrived.
struct ScoreRow {
  int64_t rank;  // equal times share a rank
  int64_t playerId;
  std::string name;
  uint32_t scoreMs;
  std::string scoreText;
  int64_t achievedAt;
};

struct RankingPage {
  std::vector<ScoreRow> rows;
  int64_t total = 0;  // entries in the period
  int page = 1;       // 1-based
  int pageCount = 1;
};

class Store {
 public:
  explicit Store(std::string url);  // opens one connection and migrates; throws DatabaseError

  // All three periods in one transaction; `now` decides which week and day.
  RegisterResult Register(const Registration& r, int64_t now);

  RankingPage Page(Period period, int64_t now, int page, int pageSize);
  // The 1-based page of the period that holds the player's entry, if any.
  std::optional<int> PageOf(Period period, int64_t now, int64_t playerId, int pageSize);
  // The rank a time would take among the other installations' entries.
  int64_t RankFor(Period period, int64_t now, uint32_t scoreMs, const uint32_t stamp[2]);
  // The installation's own all-time entry.
  std::optional<ScoreRow> OwnBest(const uint32_t stamp[2]);
  // Touches the store; throws DatabaseError when it does not answer.
  void Ping();

 private:
  std::unique_ptr<Database> Acquire();
  void Release(std::unique_ptr<Database> db);
  template <typename F>
  auto WithDatabase(F&& f);

  std::string url_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<Database>> idle_;
};

}  // namespace site
