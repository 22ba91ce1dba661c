// libFuzzer: any query string to the site's decision. Never crashes, and whatever
// it accepts is exactly what the game would have sent.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "records/ranking_block.h"
#include "records/record_codec.h"
#include "site/submission.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string query(reinterpret_cast<const char*>(data), size);
  site::Submission s = site::CheckSubmission(query);
  if (!s.ok()) return 0;
  if (s.entry.code != site::kGameCode || s.entry.scoreText != site::GameScoreText(s.entry.scoreMs) ||
      s.entry.scoreMs < site::kMinPlausibleMs || s.entry.scoreMs > site::kMaxPlausibleMs)
    std::abort();
  // The game's encoding of the accepted entry is the query itself (up to an ignored odd digit).
  std::vector<uint8_t> block = BuildRankingBlock(s.entry);
  std::string again = "Z" + EncodeRecord(block.data(), block.size());
  if (query.compare(0, again.size(), again) != 0 || query.size() > again.size() + 1) std::abort();
  return 0;
}
