#include "site/operator_commands.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>

#include "site/backup.h"
#include "site/moderation.h"
#include "site/periods.h"
#include "site/schema.h"

namespace site {
namespace {

const char* const kCommands[] = {"backup", "recent", "remove", "bar", "unbar", "moderation-log"};

bool ParseNumber(const std::string& text, unsigned long long max, unsigned long long* out) {
  if (text.empty() || text[0] == '-') return false;
  char* end = nullptr;
  errno = 0;
  unsigned long long v = std::strtoull(text.c_str(), &end, 10);
  if (errno || *end || v > max) return false;
  *out = v;
  return true;
}

bool ParseStamp(const std::string& text, Stamp* out) {
  size_t colon = text.find(':');
  unsigned long long a = 0, b = 0;
  if (colon == std::string::npos || !ParseNumber(text.substr(0, colon), 0xffffffffu, &a) ||
      !ParseNumber(text.substr(colon + 1), 0xffffffffu, &b))
    return false;
  *out = Stamp{static_cast<uint32_t>(a), static_cast<uint32_t>(b)};
  return true;
}

int Usage() {
  PrintOperatorUsage();
  return 2;
}

}  // namespace

void PrintOperatorUsage() {
  std::fprintf(stderr,
               "       rodeo-site backup --db URL --to FILE\n"
               "       rodeo-site recent --db URL [--limit N]\n"
               "       rodeo-site remove --db URL --player ID [--reason TEXT]\n"
               "       rodeo-site bar --db URL (--player ID | --stamp WORD:WORD) [--reason TEXT]\n"
               "       rodeo-site unbar --db URL --stamp WORD:WORD [--reason TEXT]\n"
               "       rodeo-site moderation-log --db URL [--limit N]\n");
}

bool IsOperatorCommand(const char* name) {
  for (const char* c : kCommands)
    if (std::strcmp(c, name) == 0) return true;
  return false;
}

int RunOperatorCommand(int argc, char** argv) {
  const std::string command = argv[0];
  std::map<std::string, std::string> options;
  for (int i = 1; i < argc; i += 2) {
    std::string key = argv[i];
    if (key.rfind("--", 0) != 0 || i + 1 >= argc) return Usage();
    options[key.substr(2)] = argv[i + 1];
  }
  auto has = [&](const char* k) { return options.count(k) > 0; };
  const std::string url = has("db") ? options["db"] : "";
  if (!IsDatabaseUrl(url)) return Usage();
  const std::string reason = has("reason") ? options["reason"] : "";
  unsigned long long limit = 50, player = 0;
  if (has("limit") && !ParseNumber(options["limit"], 100000000, &limit)) return Usage();
  if (has("player") && !ParseNumber(options["player"], 1ULL << 53, &player)) return Usage();
  Stamp stamp{};
  if (has("stamp") && !ParseStamp(options["stamp"], &stamp)) return Usage();
  const int64_t now = static_cast<int64_t>(std::time(nullptr));

  try {
    if (command == "backup") {
      if (!has("to")) return Usage();
      BackUp(url, options["to"]);
      std::fprintf(stderr, "rodeo-site: backup of the store written to %s\n", options["to"].c_str());
      return 0;
    }
    auto db = OpenDatabase(url);
    Migrate(*db);
    db->AllowLongStatements(true);  // an operator waits; listing a large store takes a moment
    Moderation moderation(*db);
    if (command == "recent") {
      std::printf("stored (Japan time)\tplayer\tstamp\ttime\tname\n");
      for (const RecentEntry& e : moderation.Recent(static_cast<int>(limit)))
        std::printf("%s\t%lld\t%u:%u\t%s\t%s\n", JapanTimeText(e.achievedAt).c_str(),
                    static_cast<long long>(e.playerId), e.stamp[0], e.stamp[1], e.scoreText.c_str(), e.name.c_str());
      return 0;
    }
    if (command == "moderation-log") {
      for (const ModerationLogEntry& e : moderation.Log(static_cast<int>(limit)))
        std::printf("%s\t%s\t%s\n", JapanTimeText(e.at).c_str(), e.action.c_str(), e.detail.c_str());
      return 0;
    }
    if (command == "remove") {
      if (!has("player")) return Usage();
      if (moderation.Remove(static_cast<int64_t>(player), reason, now)) return 0;
      std::fprintf(stderr, "rodeo-site: player %llu has no entry\n", player);
      return 1;
    }
    if (command == "bar" || command == "unbar") {
      if (has("player") == has("stamp") || (command == "unbar" && has("player"))) return Usage();
      if (has("player")) {
        auto found = moderation.StampOf(static_cast<int64_t>(player));
        if (!found) {
          std::fprintf(stderr, "rodeo-site: no installation has player id %llu\n", player);
          return 1;
        }
        stamp = *found;
      }
      bool changed = command == "bar" ? moderation.Bar(stamp, reason, now) : moderation.Unbar(stamp, reason, now);
      if (!changed)
        std::fprintf(stderr, "rodeo-site: stamp %u:%u was %s already\n", stamp[0], stamp[1],
                     command == "bar" ? "barred" : "not barred");
      return 0;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "rodeo-site %s: %s\n", command.c_str(), e.what());
    return 1;
  }
  return Usage();
}

}  // namespace site
