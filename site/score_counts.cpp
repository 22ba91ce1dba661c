#include "site/score_counts.h"

namespace site {
namespace {

constexpr int kLevels[] = {0, 8, 16, 24};  // below the total (level 32)
constexpr int64_t kFanOut = 256;

int64_t ToInt(const std::string& text) { return std::stoll(text); }

}  // namespace

void ScoreCountChanges::Change(const std::string& period, uint32_t scoreMs, int delta) {
  for (int level : kLevels) changes_[{period, level, int64_t{scoreMs} >> level}] += delta;
  changes_[{period, 32, 0}] += delta;
}

void ScoreCountChanges::Apply(Database& db) const {
  for (const auto& [key, delta] : changes_) {
    if (delta == 0) continue;
    const auto& [period, level, bucket] = key;
    db.Query("INSERT INTO score_counts (period, level, bucket, n) VALUES ($1, $2, $3, $4)"
             " ON CONFLICT (period, level, bucket) DO UPDATE SET n = score_counts.n + excluded.n",
             {period, int64_t{level}, bucket, delta});
  }
}

int64_t CountEntries(Database& db, const std::string& period) {
  auto rows = db.Query("SELECT n FROM score_counts WHERE period = $1 AND level = 32 AND bucket = 0", {period});
  return rows.empty() ? 0 : ToInt(rows[0][0]);
}

int64_t CountAbove(Database& db, const std::string& period, uint32_t scoreMs) {
  // At each level, the buckets after the time's own within the same parent bucket;
  // together they cover every better time exactly once.
  std::vector<SqlParam> params{period};
  for (int level : kLevels) {
    int64_t own = int64_t{scoreMs} >> level;
    params.push_back(own);
    params.push_back((own | (kFanOut - 1)));
  }
  auto rows = db.Query(
      "SELECT (SELECT COALESCE(SUM(n), 0) FROM score_counts WHERE period = $1 AND level = 0"
      " AND bucket > $2 AND bucket <= $3)"
      " + (SELECT COALESCE(SUM(n), 0) FROM score_counts WHERE period = $1 AND level = 8"
      " AND bucket > $4 AND bucket <= $5)"
      " + (SELECT COALESCE(SUM(n), 0) FROM score_counts WHERE period = $1 AND level = 16"
      " AND bucket > $6 AND bucket <= $7)"
      " + (SELECT COALESCE(SUM(n), 0) FROM score_counts WHERE period = $1 AND level = 24"
      " AND bucket > $8 AND bucket <= $9)",
      params);
  return ToInt(rows.at(0).at(0));
}

Located LocateOffset(Database& db, const std::string& period, int64_t offset) {
  // From the top level down: walk the buckets of the parent from the best times,
  // skipping whole buckets until the one that holds the offset.
  int64_t parent = 0, above = 0;
  for (int i = static_cast<int>(std::size(kLevels)) - 1; i >= 0; --i) {
    const int64_t first = parent * kFanOut;
    auto rows = db.Query(
        "SELECT bucket, n FROM score_counts WHERE period = $1 AND level = $2 AND bucket >= $3 AND bucket <= $4"
        " ORDER BY bucket DESC",
        {period, int64_t{kLevels[i]}, first, first + kFanOut - 1});
    bool found = false;
    for (const SqlRow& row : rows) {
      const int64_t n = ToInt(row[1]);
      if (above + n > offset) {
        parent = ToInt(row[0]);
        found = true;
        break;
      }
      above += n;
    }
    if (!found) throw DatabaseError("score counts do not reach offset " + std::to_string(offset));
  }
  return Located{static_cast<uint32_t>(parent), above};
}

}  // namespace site
