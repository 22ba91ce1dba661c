// Kept counts of a period's entries by time, so that ranks and offsets are found
// without scanning the period. Each entry is counted once per level in the bucket
// score_ms >> level, levels 0, 8, 16, 24 and 32 (the period's total): a bucket holds
// at most 256 buckets of the level below, and a query reads one run of at most 256
// rows per level. The counts change in the same transaction as the entries.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>

#include "site/database.h"

namespace site {

class ScoreCountChanges {
 public:
  void Add(const std::string& period, uint32_t scoreMs) { Change(period, scoreMs, +1); }
  void Remove(const std::string& period, uint32_t scoreMs) { Change(period, scoreMs, -1); }
  // Writes the net changes in one fixed order (period, level, bucket), so that two
  // transactions never wait for each other's buckets in opposite orders.
  void Apply(Database& db) const;

 private:
  void Change(const std::string& period, uint32_t scoreMs, int delta);
  std::map<std::tuple<std::string, int, int64_t>, int64_t> changes_;
};

// Entries of the period in all.
int64_t CountEntries(Database& db, const std::string& period);
// Entries of the period with a better (larger) time than scoreMs.
int64_t CountAbove(Database& db, const std::string& period, uint32_t scoreMs);

// The time of the entry at a 0-based offset in rank order, and how many entries
// have a better time (those before the first entry with that time).
struct Located {
  uint32_t scoreMs;
  int64_t above;
};
Located LocateOffset(Database& db, const std::string& period, int64_t offset);  // offset < CountEntries

}  // namespace site
