// record_dump: prints the stored record of the game from its encoded text (as the
// registry holds it, given as the argument or read on standard input): the totals and
// the high-score table, one entry a line. Names stay code page 932 bytes (pipe through
// iconv to read them). Exits 1 when the text does not decode to a record. Used by
// scripts/soak.sh and the end-to-end test.
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

#include "records/mg_info.h"
#include "records/record_codec.h"

int main(int argc, char** argv) {
  std::string text = argc > 1 ? std::string(argv[1])
                              : std::string((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  uint8_t bytes[kMgInfoBytes];
  if (!DecodeRecord(text.c_str(), bytes, kMgInfoBytes)) {
    std::printf("record: does not decode (%zu characters)\n", text.size());
    return 1;
  }
  MgInfo record;
  RecordFromBytes(bytes, &record);
  std::printf("clicks=%u play_ms=%u\n", record.totalClicks, record.totalPlayMs);
  for (size_t i = 0; i < kHighScoreCount; ++i) {
    const HighScoreEntry& e = record.table[i];
    if (!e.scoreText[0]) continue;
    std::printf("entry=%zu ms=%u text=%.8s name=%.16s\n", i + 1, e.scoreMs, e.scoreText, e.playerName);
  }
  return 0;
}
