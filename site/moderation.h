// What an operator does by hand: list the recent registrations, remove an entry
// from every period, bar an installation from registering. Each action is kept in
// the moderation_log table and written to standard error.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "site/database.h"

namespace site {

using Stamp = std::array<uint32_t, 2>;

struct RecentEntry {
  int64_t playerId;
  Stamp stamp;
  std::string name;
  std::string scoreText;
  int64_t achievedAt;
};

struct ModerationLogEntry {
  int64_t at;
  std::string action;  // "remove", "bar", "unbar"
  std::string detail;
};

class Moderation {
 public:
  explicit Moderation(Database& db) : db_(db) {}

  // The all-time entries, the latest stored first.
  std::vector<RecentEntry> Recent(int limit);
  std::optional<Stamp> StampOf(int64_t playerId);

  // False when the player has no entry.
  bool Remove(int64_t playerId, const std::string& reason, int64_t now);
  // False when it was barred already (Bar) or was not (Unbar).
  bool Bar(const Stamp& stamp, const std::string& reason, int64_t now);
  bool Unbar(const Stamp& stamp, const std::string& reason, int64_t now);

  std::vector<ModerationLogEntry> Log(int limit);

 private:
  void Record(int64_t now, const std::string& action, std::optional<int64_t> playerId,
              std::optional<Stamp> stamp, const std::string& detail);
  Database& db_;
};

}  // namespace site
