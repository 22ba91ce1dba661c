// Ranking results into the table of ten, and storing the typed name.
#include "records/high_score_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A table given as its scores, best first; entry i is named "p<i>".
MgInfo TableOf(const std::vector<uint32_t>& scores) {
  MgInfo r;
  std::memset(&r, 0, sizeof r);
  for (size_t i = 0; i < scores.size(); ++i) {
    std::strcpy(r.table[i].scoreText, "  1.000");
    r.table[i].playerName[0] = 'p';
    r.table[i].playerName[1] = static_cast<char>('0' + i);
    r.table[i].scoreMs = scores[i];
  }
  return r;
}

// The table as "score:name" per used entry, the new one named "new".
std::vector<std::string> Rows(const MgInfo& r) {
  std::vector<std::string> rows;
  for (const HighScoreEntry& e : r.table) {
    if (!e.scoreText[0]) break;
    rows.push_back(std::to_string(e.scoreMs) + ":" + (e.playerName[0] ? e.playerName : "new"));
  }
  return rows;
}

TEST(InsertResult, TableOfCases) {
  const std::vector<uint32_t> full = {900, 800, 700, 600, 500, 500, 400, 300, 200, 100};
  struct Case {
    const char* what;
    std::vector<uint32_t> table;
    uint32_t result;
    int rank;
    std::vector<std::string> rows;
  } cases[] = {
      {"into an empty table", {}, 5000, 0, {"5000:new"}},
      {"below the last used entry", {300, 200}, 100, 2, {"300:p0", "200:p1", "100:new"}},
      {"at the top", {300, 200}, 301, 0, {"301:new", "300:p0", "200:p1"}},
      {"equal goes above the earlier one", {300, 200, 100}, 200, 1, {"300:p0", "200:new", "200:p1", "100:p2"}},
      {"zero into an empty slot", {300}, 0, 1, {"300:p0", "0:new"}},
      {"top of a full table, the tenth falls out",
       full, 1000, 0,
       {"1000:new", "900:p0", "800:p1", "700:p2", "600:p3", "500:p4", "500:p5", "400:p6", "300:p7", "200:p8"}},
      {"equal to the tenth replaces it",
       full, 100, 9,
       {"900:p0", "800:p1", "700:p2", "600:p3", "500:p4", "500:p5", "400:p6", "300:p7", "200:p8", "100:new"}},
      {"at index 9 nothing moves",
       full, 150, 9,
       {"900:p0", "800:p1", "700:p2", "600:p3", "500:p4", "500:p5", "400:p6", "300:p7", "200:p8", "150:new"}},
      {"below a full table", full, 99, -1,
       {"900:p0", "800:p1", "700:p2", "600:p3", "500:p4", "500:p5", "400:p6", "300:p7", "200:p8", "100:p9"}},
      {"unsigned comparison", {0x80000000u}, 0xFFFFFFFFu, 0, {"4294967295:new", "2147483648:p0"}},
  };
  for (const Case& c : cases) {
    MgInfo r = TableOf(c.table);
    int rank = InsertResult(&r, " 12.345", c.result);
    EXPECT_EQ(rank, c.rank) << c.what;
    if (rank >= 0) {
      EXPECT_STREQ(r.table[rank].scoreText, " 12.345") << c.what;
      r.table[rank].playerName[0] = '\0';  // what the dialog names later
    }
    EXPECT_EQ(Rows(r), c.rows) << c.what;
  }
}

TEST(InsertResult, AMovedEntryKeepsAllItsBytes) {
  MgInfo r = TableOf({300, 200});
  r.table[1].reserved[0] = 0x77;
  const HighScoreEntry before = r.table[1];
  ASSERT_EQ(InsertResult(&r, "x", 250), 1);
  EXPECT_EQ(std::memcmp(&r.table[2], &before, sizeof before), 0);
}

TEST(InsertResult, TheTextNeverOverflowsItsNineBytes) {
  MgInfo r = TableOf({});
  std::strcpy(r.lastPlayerName, "NNNN");
  ASSERT_EQ(InsertResult(&r, "12345678.123456", 1), 0);
  EXPECT_STREQ(r.table[0].scoreText, "12345678");
  EXPECT_EQ(std::string(r.table[0].playerName, 4), "NNNN");  // the next field is untouched
  ASSERT_EQ(InsertResult(&r, "", 2), 0);
  EXPECT_EQ(r.table[0].scoreText[0], '\0');
}

TEST(InsertResult, TheNewEntryCarriesTheLastPlayersNameUntilOneIsStored) {
  MgInfo r = TableOf({300, 200});
  std::strcpy(r.lastPlayerName, "\x82\xa0\x82\xc8\x82\xbd");  // "あなた"
  ASSERT_EQ(InsertResult(&r, "x", 301), 0);
  EXPECT_STREQ(r.table[0].playerName, "\x82\xa0\x82\xc8\x82\xbd");
  EXPECT_STREQ(r.table[1].playerName, "p0");
  std::memset(r.lastPlayerName, 'L', sizeof r.lastPlayerName);  // damaged: no terminator
  ASSERT_EQ(InsertResult(&r, "x", 302), 0);
  EXPECT_EQ(std::strlen(r.table[0].playerName), 16u);
}

TEST(StorePlayerName, StoresTheNameCutTo16BytesInBothPlaces) {
  MgInfo r = TableOf({300, 200});
  // Eight double-byte characters and one more: the ninth does not fit.
  std::string nine;
  for (int i = 0; i < 9; ++i) nine += "\x83\x7C";
  StorePlayerName(&r, 1, nine.c_str());
  EXPECT_EQ(std::string(r.lastPlayerName), nine.substr(0, 16));
  EXPECT_EQ(std::string(r.table[1].playerName), nine.substr(0, 16));
  EXPECT_STREQ(r.table[0].playerName, "p0");
  // A double-byte character that would straddle byte 16 is left out whole.
  StorePlayerName(&r, 0, "abcdefghijklmno\x82\xA0");
  EXPECT_STREQ(r.table[0].playerName, "abcdefghijklmno");
  // No rank: only the last name is kept.
  StorePlayerName(&r, -1, "solo");
  EXPECT_STREQ(r.lastPlayerName, "solo");
  EXPECT_STREQ(r.table[0].playerName, "abcdefghijklmno");
}

}  // namespace
