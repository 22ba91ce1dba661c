// The block sent to the ranking page: the game's code, the best entry's score text
// and value, and the installation stamp. Little-endian, no alignment:
//   code length (1), code bytes, text length (1), text bytes,
//   score in ms (4), stamp word 0 (4), stamp word 1 (4).
// The texts are code page 932 bytes without their terminators; the player's name
// is not sent. The block goes out through EncodeRecord.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct RankingEntry {
  std::string code;       // the game's code, "QM100"
  std::string scoreText;  // the best entry's text as stored, " 12.345"
  uint32_t scoreMs;
  uint32_t stamp[2];      // the record's installation stamp, words 0 and 1
};

// Each text can carry at most 255 bytes, what its length byte holds; a longer one
// is sent cut at the last code page 932 character boundary that fits, so that the
// lengths always describe the block and no character is sent in half.
constexpr size_t kRankingTextMax = 255;

std::vector<uint8_t> BuildRankingBlock(const RankingEntry& e);

// Reads a block back: false, with *out untouched, unless both lengths fit and the
// block is exactly as long as they say.
bool ReadRankingBlock(const uint8_t* bytes, size_t size, RankingEntry* out);

struct MgInfo;

// The entry sent for a record: the table's best entry and the record's stamp.
RankingEntry BestRankingEntry(const std::string& code, const MgInfo& record);

// The address the browser opens: the ranking page, "?Z", the encoded block.
std::string RankingUrl(const std::string& page, const RankingEntry& e);
