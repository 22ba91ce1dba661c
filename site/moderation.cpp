#include "site/moderation.h"

#include <cstdio>

#include "site/periods.h"
#include "site/score_counts.h"

namespace site {
namespace {

int64_t ToInt(const std::string& text) { return std::stoll(text); }

std::string StampText(const Stamp& s) { return std::to_string(s[0]) + ":" + std::to_string(s[1]); }

}  // namespace

std::vector<RecentEntry> Moderation::Recent(int limit) {
  std::vector<RecentEntry> out;
  for (const SqlRow& row : db_.Query(
           "SELECT s.player_id, i.stamp0, i.stamp1, s.name, s.score_text, s.achieved_at FROM scores s"
           " JOIN installations i ON i.public_id = s.player_id WHERE s.period = 'all'"
           " ORDER BY s.arrival DESC LIMIT $1",
           {int64_t{limit}}))
    out.push_back(RecentEntry{ToInt(row[0]),
                              {static_cast<uint32_t>(ToInt(row[1])), static_cast<uint32_t>(ToInt(row[2]))},
                              row[3], row[4], ToInt(row[5])});
  return out;
}

std::optional<Stamp> Moderation::StampOf(int64_t playerId) {
  auto rows = db_.Query("SELECT stamp0, stamp1 FROM installations WHERE public_id = $1", {playerId});
  if (rows.empty()) return std::nullopt;
  return Stamp{static_cast<uint32_t>(ToInt(rows[0][0])), static_cast<uint32_t>(ToInt(rows[0][1]))};
}

bool Moderation::Remove(int64_t playerId, const std::string& reason, int64_t now) {
  db_.BeginWrite();
  try {
    // Locks the installation as a registration does, so none changes its entries meanwhile.
    auto installation = db_.Query(
        "UPDATE installations SET first_seen = first_seen WHERE public_id = $1 RETURNING stamp0, stamp1",
        {playerId});
    auto entries = db_.Query("SELECT period, score_ms, name FROM scores WHERE player_id = $1", {playerId});
    if (installation.empty() || entries.empty()) {
      db_.Commit();
      return false;
    }
    ScoreCountChanges counts;
    for (const SqlRow& e : entries) counts.Remove(e[0], static_cast<uint32_t>(ToInt(e[1])));
    db_.Query("DELETE FROM scores WHERE player_id = $1", {playerId});
    counts.Apply(db_);
    std::string names;
    for (const SqlRow& e : entries) {
      if (e[0] == "all") names = e[2];
    }
    Stamp stamp{static_cast<uint32_t>(ToInt(installation[0][0])), static_cast<uint32_t>(ToInt(installation[0][1]))};
    Record(now, "remove", playerId, stamp,
           std::to_string(entries.size()) + " entries, name \"" + names + "\"; " + reason);
    db_.Commit();
    return true;
  } catch (...) {
    db_.Rollback();
    throw;
  }
}

bool Moderation::Bar(const Stamp& stamp, const std::string& reason, int64_t now) {
  db_.BeginWrite();
  try {
    auto added = db_.Query(
        "INSERT INTO barred_stamps (stamp0, stamp1, barred_at, reason) VALUES ($1, $2, $3, $4)"
        " ON CONFLICT DO NOTHING RETURNING stamp0",
        {int64_t{stamp[0]}, int64_t{stamp[1]}, now, reason});
    if (!added.empty()) {
      auto id = db_.Query("SELECT public_id FROM installations WHERE stamp0 = $1 AND stamp1 = $2",
                          {int64_t{stamp[0]}, int64_t{stamp[1]}});
      Record(now, "bar", id.empty() ? std::nullopt : std::optional<int64_t>(ToInt(id[0][0])), stamp, reason);
    }
    db_.Commit();
    return !added.empty();
  } catch (...) {
    db_.Rollback();
    throw;
  }
}

bool Moderation::Unbar(const Stamp& stamp, const std::string& reason, int64_t now) {
  db_.BeginWrite();
  try {
    auto removed = db_.Query("DELETE FROM barred_stamps WHERE stamp0 = $1 AND stamp1 = $2 RETURNING stamp0",
                             {int64_t{stamp[0]}, int64_t{stamp[1]}});
    if (!removed.empty()) Record(now, "unbar", std::nullopt, stamp, reason);
    db_.Commit();
    return !removed.empty();
  } catch (...) {
    db_.Rollback();
    throw;
  }
}

std::vector<ModerationLogEntry> Moderation::Log(int limit) {
  std::vector<ModerationLogEntry> out;
  for (const SqlRow& row : db_.Query(
           "SELECT at, action, COALESCE(player_id, 0), COALESCE(stamp0, 0), COALESCE(stamp1, 0), detail"
           " FROM moderation_log ORDER BY at DESC LIMIT $1",
           {int64_t{limit}})) {
    std::string detail = "player " + row[2] + ", stamp " + row[3] + ":" + row[4] + ": " + row[5];
    out.push_back(ModerationLogEntry{ToInt(row[0]), row[1], detail});
  }
  return out;
}

void Moderation::Record(int64_t now, const std::string& action, std::optional<int64_t> playerId,
                        std::optional<Stamp> stamp, const std::string& detail) {
  // Parameters are never NULL: -1 stands for no value.
  db_.Query("INSERT INTO moderation_log (at, action, player_id, stamp0, stamp1, detail)"
            " VALUES ($1, $2, NULLIF(CAST($3 AS BIGINT), -1), NULLIF(CAST($4 AS BIGINT), -1),"
            " NULLIF(CAST($5 AS BIGINT), -1), $6)",
            {now, action, playerId.value_or(-1), stamp ? int64_t{(*stamp)[0]} : int64_t{-1},
             stamp ? int64_t{(*stamp)[1]} : int64_t{-1}, detail});
  std::fprintf(stderr, "rodeo-site: moderation %s %s: %s%s%s\n", JapanTimeText(now).c_str(), action.c_str(),
               playerId ? ("player " + std::to_string(*playerId) + " ").c_str() : "",
               stamp ? ("stamp " + StampText(*stamp) + " ").c_str() : "", detail.c_str());
}

}  // namespace site
