// Prints the query the game sends for a result: "Z" and the encoded ranking block.
//   make_submission MS STAMP0 STAMP1 [CODE [SCORE_TEXT]]
// Without SCORE_TEXT the game's own "%7.3f" text of MS is used.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "records/ranking_block.h"
#include "records/record_codec.h"
#include "site/submission.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: make_submission MS STAMP0 STAMP1 [CODE [SCORE_TEXT]]\n");
    return 2;
  }
  RankingEntry e{};
  e.scoreMs = static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10));
  e.stamp[0] = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
  e.stamp[1] = static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10));
  e.code = argc > 4 ? argv[4] : site::kGameCode;
  e.scoreText = argc > 5 ? argv[5] : site::GameScoreText(e.scoreMs);
  std::vector<uint8_t> block = BuildRankingBlock(e);
  std::printf("Z%s\n", EncodeRecord(block.data(), block.size()).c_str());
  return 0;
}
