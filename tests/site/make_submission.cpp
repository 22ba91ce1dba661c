// Prints what the game sends for a result.
//   make_submission MS STAMP0 STAMP1 [CODE [SCORE_TEXT]]
//     the query: "Z" and the encoded ranking block. Without SCORE_TEXT the game's
//     own "%7.3f" text of MS is used.
//   make_submission --game-url MS STAMP0 STAMP1
//     the whole address the game opens: the result ranked into a fresh record's
//     table, its best entry and stamp sent to RODEO_RANKING_URL as the shell does.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "records/high_score_table.h"
#include "records/mg_info.h"
#include "records/ranking_block.h"
#include "records/record_codec.h"
#include "shell/site_urls.h"
#include "site/submission.h"

namespace {

uint32_t Number(const char* text) { return static_cast<uint32_t>(std::strtoul(text, nullptr, 10)); }

}  // namespace

int main(int argc, char** argv) {
  const bool gameUrl = argc > 1 && std::strcmp(argv[1], "--game-url") == 0;
  if (gameUrl) {
    --argc;
    ++argv;
  }
  if (argc < 4) {
    std::fprintf(stderr, "usage: make_submission [--game-url] MS STAMP0 STAMP1 [CODE [SCORE_TEXT]]\n");
    return 2;
  }
  const uint32_t ms = Number(argv[1]);
  if (gameUrl) {
    MgInfo record{};
    record.installStamp[0] = Number(argv[2]);
    record.installStamp[1] = Number(argv[3]);
    InsertResult(&record, site::GameScoreText(ms).c_str(), ms);
    std::printf("%s\n", RankingUrl(RODEO_RANKING_URL, BestRankingEntry(site::kGameCode, record)).c_str());
    return 0;
  }
  RankingEntry e{};
  e.scoreMs = ms;
  e.stamp[0] = Number(argv[2]);
  e.stamp[1] = Number(argv[3]);
  e.code = argc > 4 ? argv[4] : site::kGameCode;
  e.scoreText = argc > 5 ? argv[5] : site::GameScoreText(e.scoreMs);
  std::vector<uint8_t> block = BuildRankingBlock(e);
  std::printf("Z%s\n", EncodeRecord(block.data(), block.size()).c_str());
  return 0;
}
