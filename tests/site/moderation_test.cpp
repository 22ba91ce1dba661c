// The operator's actions on a store: removing an entry takes it out of every
// period and the ranks close up; a barred installation's registrations store
// nothing until it is let back; every action lands in the log.
#include <gtest/gtest.h>

#include "site/moderation.h"
#include "site/periods.h"
#include "site/store.h"
#include "store_fixture.h"

namespace {

using site::Period;

constexpr int64_t kWednesday = 1796785200;
constexpr uint32_t kStampWord = 1765000000;
constexpr Period kPeriods[] = {Period::kAllTime, Period::kWeek, Period::kToday};

class ModerationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store_ = std::make_unique<site::Store>(fresh_.url());
    db_ = site::OpenDatabase(fresh_.url());
    moderation_ = std::make_unique<site::Moderation>(*db_);
  }

  site::RegisterResult Register(uint32_t installation, uint32_t ms, int64_t now = kWednesday) {
    site::Registration r{{installation, kStampWord}, ms, std::to_string(ms), "p" + std::to_string(installation)};
    return store_->Register(r, now);
  }

  std::vector<int64_t> Ids(Period p) {
    std::vector<int64_t> ids;
    for (const auto& row : store_->Page(p, kWednesday, 1, 50).rows) ids.push_back(row.playerId);
    return ids;
  }

  FreshStore fresh_;
  std::unique_ptr<site::Store> store_;
  std::unique_ptr<site::Database> db_;
  std::unique_ptr<site::Moderation> moderation_;
};

TEST_F(ModerationTest, RemovedEntryIsGoneFromEveryPeriod) {
  const int64_t a = Register(1, 9000).playerId;
  const int64_t b = Register(2, 8000).playerId;
  const int64_t c = Register(3, 8000).playerId;
  Register(2, 8500, kWednesday - 86400 * 3);  // its all-time best came earlier in the week

  EXPECT_TRUE(moderation_->Remove(b, "rude name", kWednesday + 5));
  EXPECT_FALSE(moderation_->Remove(b, "again", kWednesday + 6));
  for (Period p : kPeriods) {
    SCOPED_TRACE(site::PeriodName(p));
    EXPECT_EQ(Ids(p), (std::vector<int64_t>{a, c}));
    auto page = store_->Page(p, kWednesday, 1, 50);
    EXPECT_EQ(page.total, 2);
    EXPECT_EQ(page.rows[1].rank, 2);
    EXPECT_EQ(store_->PageOf(p, kWednesday, b, 50), std::nullopt);
  }
  const uint32_t other[2] = {99, 1};
  EXPECT_EQ(store_->RankFor(Period::kAllTime, kWednesday, 8200, other), 2);

  auto log = moderation_->Log(10);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].action, "remove");
  EXPECT_NE(log[0].detail.find("rude name"), std::string::npos);
  EXPECT_NE(log[0].detail.find(std::to_string(b)), std::string::npos);

  // The installation may register again; it starts afresh.
  EXPECT_EQ(Register(2, 100).allTime, site::RegisterOutcome::kNew);
}

TEST_F(ModerationTest, BarredInstallationCannotRegister) {
  const int64_t a = Register(1, 9000).playerId;
  const site::Stamp stamp{1, kStampWord};
  ASSERT_EQ(moderation_->StampOf(a), stamp);
  EXPECT_TRUE(moderation_->Bar(stamp, "forged times", kWednesday));
  EXPECT_FALSE(moderation_->Bar(stamp, "twice", kWednesday));
  EXPECT_TRUE(moderation_->Bar({7, 7}, "never seen", kWednesday));

  auto barred = Register(1, 20000);
  EXPECT_EQ(barred.allTime, site::RegisterOutcome::kBarred);
  site::Registration unseen{{7, 7}, 30000, "30000", "x"};
  EXPECT_EQ(store_->Register(unseen, kWednesday).allTime, site::RegisterOutcome::kBarred);
  EXPECT_EQ(store_->Page(Period::kAllTime, kWednesday, 1, 50).total, 1);
  EXPECT_EQ(store_->Page(Period::kAllTime, kWednesday, 1, 50).rows[0].scoreMs, 9000u);

  EXPECT_TRUE(moderation_->Unbar(stamp, "appeal", kWednesday + 1));
  EXPECT_FALSE(moderation_->Unbar(stamp, "appeal", kWednesday + 1));
  EXPECT_EQ(Register(1, 20000).allTime, site::RegisterOutcome::kImproved);

  std::vector<std::string> actions;
  for (const auto& e : moderation_->Log(10)) actions.push_back(e.action);
  std::sort(actions.begin(), actions.end());
  EXPECT_EQ(actions, (std::vector<std::string>{"bar", "bar", "unbar"}));
}

TEST_F(ModerationTest, RecentListsTheLatestStoredFirst) {
  Register(1, 5000);
  Register(2, 6000);
  Register(1, 7000);  // improved: stored again
  Register(3, 100);
  Register(2, 10);  // worse: nothing stored
  auto recent = moderation_->Recent(3);
  ASSERT_EQ(recent.size(), 3u);
  EXPECT_EQ(recent[0].stamp[0], 3u);
  EXPECT_EQ(recent[1].stamp[0], 1u);
  EXPECT_EQ(recent[1].scoreText, "7000");
  EXPECT_EQ(recent[2].stamp[0], 2u);
}

}  // namespace
