// The decision on a submission, as a table: what the game sends is accepted, and
// every kind of damage or forgery that the checks can see is refused with its reason.
#include <gtest/gtest.h>

#include <functional>

#include "records/ranking_block.h"
#include "records/record_codec.h"
#include "site/submission.h"

namespace {

using site::SubmissionError;

RankingEntry GameEntry(uint32_t ms) {
  RankingEntry e{};
  e.code = "QM100";
  e.scoreMs = ms;
  e.scoreText = site::GameScoreText(ms);
  e.stamp[0] = 0x01020304;
  e.stamp[1] = 1765000000;
  return e;
}

std::string Query(const std::vector<uint8_t>& block) {
  return "Z" + EncodeRecord(block.data(), block.size());
}

std::string Query(const RankingEntry& e) { return Query(BuildRankingBlock(e)); }

struct Case {
  const char* what;
  std::function<std::string()> query;
  SubmissionError expected;
};

TEST(Submission, TableOfCases) {
  const RankingEntry good = GameEntry(12345);
  const std::string goodQuery = Query(good);
  const Case cases[] = {
      {"the game's own submission", [&] { return goodQuery; }, SubmissionError::kNone},
      {"shortest plausible ride", [] { return Query(GameEntry(site::kMinPlausibleMs)); }, SubmissionError::kNone},
      {"longest seven-character time", [] { return Query(GameEntry(999999)); }, SubmissionError::kNone},
      {"an odd character after the digits is ignored", [&] { return goodQuery + "0"; }, SubmissionError::kNone},
      {"empty query", [] { return std::string(); }, SubmissionError::kNoPayload},
      {"only Z", [] { return std::string("Z"); }, SubmissionError::kNoPayload},
      {"payload without Z", [&] { return goodQuery.substr(1); }, SubmissionError::kNoPayload},
      {"key=value instead of Z", [] { return std::string("z=1234"); }, SubmissionError::kNoPayload},
      {"far too long", [&] { return goodQuery + std::string(300, 'A'); }, SubmissionError::kTooLong},
      {"a changed digit",
       [&] {
         std::string q = goodQuery;
         q[20] = q[20] == '0' ? '1' : '0';
         return q;
       },
       SubmissionError::kUndecodable},
      {"lower-case digits",
       [&] {
         std::string q = goodQuery;
         for (char& c : q) c = static_cast<char>(c >= 'A' && c <= 'F' ? c - 'A' + 'a' : c);
         q[0] = 'Z';
         return q;
       },
       SubmissionError::kUndecodable},
      {"last pair cut off", [&] { return goodQuery.substr(0, goodQuery.size() - 2); }, SubmissionError::kUndecodable},
      {"a NUL inside", [&] { return goodQuery.substr(0, 10) + std::string(1, '\0') + goodQuery.substr(11); },
       SubmissionError::kUndecodable},
      {"not hex at all", [] { return std::string("Zhello<script>"); }, SubmissionError::kUndecodable},
      {"block cut by one byte, re-encoded",
       [&] {
         auto b = BuildRankingBlock(good);
         b.pop_back();
         return Query(b);
       },
       SubmissionError::kMalformedBlock},
      {"block lengthened by one byte, re-encoded",
       [&] {
         auto b = BuildRankingBlock(good);
         b.push_back(0);
         return Query(b);
       },
       SubmissionError::kMalformedBlock},
      {"text length running past the end",
       [&] {
         auto b = BuildRankingBlock(good);
         b[1 + good.code.size()] = 200;
         return Query(b);
       },
       SubmissionError::kMalformedBlock},
      {"another game's code",
       [&] {
         RankingEntry e = good;
         e.code = "QM101";
         return Query(e);
       },
       SubmissionError::kWrongGame},
      {"empty code",
       [&] {
         RankingEntry e = good;
         e.code = "";
         return Query(e);
       },
       SubmissionError::kWrongGame},
      {"text one thousandth off the milliseconds",
       [&] {
         RankingEntry e = good;
         e.scoreText = " 12.346";
         return Query(e);
       },
       SubmissionError::kTextMismatch},
      {"milliseconds raised under the same text",
       [&] {
         RankingEntry e = good;
         e.scoreMs = 99999;
         return Query(e);
       },
       SubmissionError::kTextMismatch},
      {"text without the game's padding",
       [&] {
         RankingEntry e = good;
         e.scoreText = "12.345";
         return Query(e);
       },
       SubmissionError::kTextMismatch},
      {"a zero ride", [] { return Query(GameEntry(0)); }, SubmissionError::kImplausibleTime},
      {"below the shortest ride", [] { return Query(GameEntry(site::kMinPlausibleMs - 1)); },
       SubmissionError::kImplausibleTime},
      {"a thousand seconds", [] { return Query(GameEntry(1000000)); }, SubmissionError::kImplausibleTime},
      {"the largest count", [] { return Query(GameEntry(0xFFFFFFFFu)); }, SubmissionError::kImplausibleTime},
  };
  for (const Case& c : cases) {
    site::Submission s = site::CheckSubmission(c.query());
    EXPECT_EQ(s.error, c.expected) << c.what;
    EXPECT_EQ(std::string(site::SubmissionErrorMessage(s.error)).empty(), s.ok()) << c.what;
  }
}

TEST(Submission, AcceptedEntryCarriesTheBlock) {
  site::Submission s = site::CheckSubmission(Query(GameEntry(4321)));
  ASSERT_TRUE(s.ok());
  EXPECT_EQ(s.entry.scoreText, "  4.321");
  EXPECT_EQ(s.entry.scoreMs, 4321u);
  EXPECT_EQ(s.entry.stamp[0], 0x01020304u);
  EXPECT_EQ(s.entry.stamp[1], 1765000000u);
  // The game's block for "QM100" and a seven-character text: 26 bytes, 56 digits.
  EXPECT_EQ(Query(GameEntry(4321)).size(), 1u + 56u);
}

TEST(Submission, EveryChangedDigitIsRefused) {
  const std::string q = Query(GameEntry(23456));
  for (size_t i = 1; i < q.size(); ++i) {
    for (char d : std::string("0123456789ABCDEF")) {
      if (d == q[i]) continue;
      std::string changed = q;
      changed[i] = d;
      EXPECT_FALSE(site::CheckSubmission(changed).ok()) << "digit " << i << " -> " << d;
    }
  }
}

}  // namespace
