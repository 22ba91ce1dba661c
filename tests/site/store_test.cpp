// The store's rules, on SQLite and on PostgreSQL: one entry per installation and
// period, only a better time replaces it, ranks with ties.
#include <gtest/gtest.h>

#include "site/store.h"
#include "store_fixture.h"

namespace {

// Wednesday 2026-12-09 12:00 in Japan.
constexpr int64_t kWednesday = 1796785200;
constexpr int64_t kDay = 86400;

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override { store_ = std::make_unique<site::Store>(fresh_.url()); }
  void TearDown() override { store_.reset(); }

  site::RegisterResult Register(uint32_t installation, uint32_t ms, const std::string& name, int64_t now) {
    site::Registration r{{installation, 1765000000}, ms, std::to_string(ms), name};
    return store_->Register(r, now);
  }

  FreshStore fresh_;
  std::unique_ptr<site::Store> store_;
};

TEST_F(StoreTest, OneEntryPerInstallationOnlyRaisedByABetterTime) {
  using site::RegisterOutcome;
  auto first = Register(1, 5000, "a", kWednesday);
  EXPECT_EQ(first.allTime, RegisterOutcome::kNew);
  EXPECT_EQ(Register(1, 5000, "a", kWednesday).allTime, RegisterOutcome::kSame);
  EXPECT_EQ(Register(1, 4000, "worse", kWednesday).allTime, RegisterOutcome::kNotBetter);
  auto better = Register(1, 6000, "b", kWednesday);
  EXPECT_EQ(better.allTime, RegisterOutcome::kImproved);
  EXPECT_EQ(better.playerId, first.playerId);

  auto page = store_->Page(site::Period::kAllTime, kWednesday, 1, 50);
  ASSERT_EQ(page.total, 1);
  EXPECT_EQ(page.rows[0].scoreMs, 6000u);
  EXPECT_EQ(page.rows[0].name, "b");
}

TEST_F(StoreTest, WeekAndDayKeepTheirOwnBest) {
  Register(1, 9000, "old", kWednesday - 7 * kDay);  // last week
  Register(2, 3000, "tue", kWednesday - kDay);      // this week, yesterday
  Register(1, 2000, "now", kWednesday);             // worse than its all-time best
  auto count = [&](site::Period p) { return store_->Page(p, kWednesday, 1, 50).total; };
  EXPECT_EQ(count(site::Period::kAllTime), 2);
  EXPECT_EQ(count(site::Period::kWeek), 2);
  EXPECT_EQ(count(site::Period::kToday), 1);
  auto all = store_->Page(site::Period::kAllTime, kWednesday, 1, 50);
  EXPECT_EQ(all.rows[0].scoreMs, 9000u);  // not lowered
  auto today = store_->Page(site::Period::kToday, kWednesday, 1, 50);
  EXPECT_EQ(today.rows[0].scoreMs, 2000u);
  EXPECT_EQ(today.rows[0].name, "now");
}

TEST_F(StoreTest, PagesRanksAndTies) {
  // 120 installations; times fall by 10 ms, each pair shares one time.
  for (uint32_t i = 0; i < 120; ++i) Register(100 + i, 100000 - 10 * (i / 2), "p", kWednesday + i);
  auto p1 = store_->Page(site::Period::kAllTime, kWednesday, 1, 50);
  auto p3 = store_->Page(site::Period::kAllTime, kWednesday, 3, 50);
  EXPECT_EQ(p1.pageCount, 3);
  ASSERT_EQ(p1.rows.size(), 50u);
  ASSERT_EQ(p3.rows.size(), 20u);
  EXPECT_EQ(p1.rows[0].rank, 1);
  EXPECT_EQ(p1.rows[1].rank, 1);
  EXPECT_EQ(p1.rows[2].rank, 3);
  EXPECT_EQ(p3.rows[0].rank, 101);  // the 101st and 102nd share a time
  EXPECT_EQ(p3.rows[1].rank, 101);
  auto p2 = store_->Page(site::Period::kAllTime, kWednesday, 2, 50);
  EXPECT_EQ(p2.rows[0].rank, 51);   // the 51st shares its time with the 52nd only
  EXPECT_EQ(p2.rows[1].rank, 51);
  int64_t last = p3.rows.back().playerId;
  EXPECT_EQ(store_->PageOf(site::Period::kAllTime, kWednesday, last, 50), 3);
  EXPECT_EQ(store_->PageOf(site::Period::kToday, kWednesday + 10 * kDay, last, 50), std::nullopt);

  const uint32_t own[2] = {100, 1765000000};
  EXPECT_EQ(store_->RankFor(site::Period::kAllTime, kWednesday, 100001, own), 1);
  EXPECT_EQ(store_->RankFor(site::Period::kAllTime, kWednesday, 100000, own), 1);  // own entry not counted
  const uint32_t other[2] = {9999, 1};
  EXPECT_EQ(store_->RankFor(site::Period::kAllTime, kWednesday, 99995, other), 3);
}

TEST_F(StoreTest, ReopeningKeepsDataAndSchema) {
  Register(1, 5000, "ポムル", kWednesday);
  store_.reset();
  store_ = std::make_unique<site::Store>(fresh_.url());
  auto page = store_->Page(site::Period::kAllTime, kWednesday, 1, 50);
  ASSERT_EQ(page.total, 1);
  EXPECT_EQ(page.rows[0].name, "ポムル");
}

}  // namespace
