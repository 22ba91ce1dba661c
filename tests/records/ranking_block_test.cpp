// The ranking block: its layout for the game's code and text, its encoded length,
// and a reader that refuses any block whose lengths do not describe it exactly.
#include "records/ranking_block.h"

#include <gtest/gtest.h>

#include <cstring>

#include "records/mg_info.h"
#include "records/record_codec.h"

namespace {

using Bytes = std::vector<uint8_t>;

RankingEntry GameEntry() { return RankingEntry{"QM100", " 12.345", 12345, {0x01020304, 0xA0B0C0D0}}; }

TEST(RankingBlock, LayoutForTheGamesCodeAndText) {
  Bytes block = BuildRankingBlock(GameEntry());
  const Bytes expected = {5,    'Q',  'M',  '1',  '0',  '0',  7,    ' ',  '1',  '2',  '.',  '3',  '4',
                          '5',  0x39, 0x30, 0x00, 0x00, 0x04, 0x03, 0x02, 0x01, 0xD0, 0xC0, 0xB0, 0xA0};
  EXPECT_EQ(block, expected);
  EXPECT_EQ(block.size(), 26u);
  EXPECT_EQ(EncodeRecord(block.data(), block.size()).size(), 56u);
}

TEST(RankingBlock, ReadsBackWhatWasBuilt) {
  for (RankingEntry e : {GameEntry(), RankingEntry{"", "", 0, {0, 0}},
                         RankingEntry{"QM100", "\x82\xA0\x82\xA2", 0xFFFFFFFF, {7, 8}}}) {
    Bytes block = BuildRankingBlock(e);
    EXPECT_EQ(block.size(), e.code.size() + e.scoreText.size() + 14);
    RankingEntry back{};
    ASSERT_TRUE(ReadRankingBlock(block.data(), block.size(), &back));
    EXPECT_EQ(back.code, e.code);
    EXPECT_EQ(back.scoreText, e.scoreText);
    EXPECT_EQ(back.scoreMs, e.scoreMs);
    EXPECT_EQ(back.stamp[0], e.stamp[0]);
    EXPECT_EQ(back.stamp[1], e.stamp[1]);
  }
}

TEST(RankingBlock, CutOrLengthenedBlocksAreRefused) {
  const Bytes block = BuildRankingBlock(GameEntry());
  RankingEntry out{"untouched", "", 1, {2, 3}};
  for (size_t size = 0; size < block.size(); ++size)
    EXPECT_FALSE(ReadRankingBlock(block.data(), size, &out)) << "cut to " << size;
  Bytes longer = block;
  longer.push_back(0);
  EXPECT_FALSE(ReadRankingBlock(longer.data(), longer.size(), &out));
  // Length bytes that point past the end.
  for (size_t at : {size_t{0}, size_t{6}}) {
    Bytes bad = block;
    bad[at] = 0xFF;
    EXPECT_FALSE(ReadRankingBlock(bad.data(), bad.size(), &out)) << "length at " << at;
  }
  EXPECT_EQ(out.code, "untouched");
}

// A text longer than its length byte holds is cut between characters: a Japanese
// text whose 255th byte is the first half of a character loses that character
// whole, so the page never reads half of one.
TEST(RankingBlock, OverlongTextsAreCutAtACharacterBoundary) {
  auto repeat = [](const std::string& piece, size_t n) {
    std::string out;
    for (size_t i = 0; i < n; ++i) out += piece;
    return out;
  };
  const std::string a = "\x82\xA0";          // あ, two bytes
  const std::string kana = "\xB1";            // ｱ, half-width: one byte
  struct Case {
    const char* what;
    std::string text;
    std::string sent;
  } cases[] = {
      {"single-byte text", std::string(300, 'C'), std::string(255, 'C')},
      {"255th byte starts a character", repeat(a, 128), repeat(a, 127)},
      {"255 bytes end on a character", "x" + repeat(a, 127), "x" + repeat(a, 127)},
      {"255th byte ends a character", "x" + repeat(a, 128), "x" + repeat(a, 127)},
      {"half-width kana are single bytes", repeat(kana, 300), repeat(kana, 255)},
  };
  for (const Case& c : cases) {
    for (bool inCode : {true, false}) {
      RankingEntry e = GameEntry();
      (inCode ? e.code : e.scoreText) = c.text;
      Bytes block = BuildRankingBlock(e);
      RankingEntry back{};
      ASSERT_TRUE(ReadRankingBlock(block.data(), block.size(), &back)) << c.what;
      EXPECT_EQ(inCode ? back.code : back.scoreText, c.sent) << c.what << (inCode ? " (code)" : " (text)");
      EXPECT_EQ(inCode ? back.scoreText : back.code, inCode ? GameEntry().scoreText : GameEntry().code);
    }
  }
}

TEST(RankingBlock, TheUrlCarriesTheBestEntryAndTheStamp) {
  MgInfo record;
  std::memset(&record, 0, sizeof record);
  record.installStamp[0] = 0x01020304;
  record.installStamp[1] = 0xA0B0C0D0;
  std::strcpy(record.table[0].scoreText, " 12.345");
  std::strcpy(record.table[0].playerName, "not sent");
  record.table[0].scoreMs = 12345;
  const std::string page = "http://example.invalid/cgi-bin/ranking/rdiv.cgi";
  std::string url = RankingUrl(page, BestRankingEntry("QM100", record));
  ASSERT_EQ(url.substr(0, page.size() + 2), page + "?Z");
  std::string payload = url.substr(page.size() + 2);
  EXPECT_EQ(payload.size(), 56u);
  Bytes block(DecodedLength(payload.c_str()));
  ASSERT_EQ(DecodeRecord(payload.c_str(), block.data(), block.size()), 1);
  EXPECT_EQ(block, BuildRankingBlock(GameEntry()));
}

}  // namespace
