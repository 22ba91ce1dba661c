#include "records/ranking_block.h"

#include <cstring>

#include "records/cp932_text.h"
#include "records/little_endian.h"
#include "records/mg_info.h"
#include "records/record_codec.h"

namespace {

// Cut between characters: the page reads the text as code page 932, and half a
// character at the end would make it read a different one.
void AppendText(std::vector<uint8_t>& block, const std::string& text) {
  size_t length = Cp932CutLength(text.data(), text.size(), kRankingTextMax);
  block.push_back(static_cast<uint8_t>(length));
  block.insert(block.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
}

void AppendWord(std::vector<uint8_t>& block, uint32_t v) {
  uint8_t bytes[4];
  StoreLe32(bytes, v);
  block.insert(block.end(), bytes, bytes + 4);
}

// Takes one length-prefixed text at *at, or fails when it runs past the end.
bool TakeText(const uint8_t* bytes, size_t size, size_t* at, std::string* text) {
  if (*at >= size) return false;
  size_t length = bytes[*at];
  if (length > size - *at - 1) return false;
  text->assign(reinterpret_cast<const char*>(bytes + *at + 1), length);
  *at += 1 + length;
  return true;
}

}  // namespace

std::vector<uint8_t> BuildRankingBlock(const RankingEntry& e) {
  std::vector<uint8_t> block;
  AppendText(block, e.code);
  AppendText(block, e.scoreText);
  AppendWord(block, e.scoreMs);
  AppendWord(block, e.stamp[0]);
  AppendWord(block, e.stamp[1]);
  return block;
}

bool ReadRankingBlock(const uint8_t* bytes, size_t size, RankingEntry* out) {
  RankingEntry e;
  size_t at = 0;
  if (!TakeText(bytes, size, &at, &e.code) || !TakeText(bytes, size, &at, &e.scoreText)) return false;
  if (size - at != 12) return false;
  e.scoreMs = LoadLe32(bytes + at);
  e.stamp[0] = LoadLe32(bytes + at + 4);
  e.stamp[1] = LoadLe32(bytes + at + 8);
  *out = e;
  return true;
}

RankingEntry BestRankingEntry(const std::string& code, const MgInfo& record) {
  const HighScoreEntry& best = record.table[0];
  return RankingEntry{code, std::string(best.scoreText, strnlen(best.scoreText, sizeof best.scoreText)),
                      best.scoreMs, {record.installStamp[0], record.installStamp[1]}};
}

std::string RankingUrl(const std::string& page, const RankingEntry& e) {
  std::vector<uint8_t> block = BuildRankingBlock(e);
  return page + "?Z" + EncodeRecord(block.data(), block.size());
}
