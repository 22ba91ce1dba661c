// CowTask and the dust clouds: when bucks start, how they rise and fall, their
// pushes, the run-off after the fall and the snort.
#include <vector>

#include "tests/game/rodeo_fixture.h"

namespace {

using CowAndDust = RodeoFixture;

// Standing steps until a buck starts, with the tempo held where the case puts it.
TEST_F(CowAndDust, BuckLimitFollowsTheTempo) {
  struct Case {
    float speed;
    int standingSteps;  // the limit plus one
  };
  const Case cases[] = {{0.125f, 31}, {0.25f, 21}, {0.375f, 11}, {0.476f, 2}, {1.0f, 2}, {3.0f, 2}};
  StartRound();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.speed);
    while (CowStepIndex() != kStand) Step();
    rodeoState.lean = 0;
    Cow().buckCounter = 0;
    int steps = 0;
    while (CowStepIndex() == kStand && steps < 100) {
      rodeoState.speed = c.speed;
      Step();
      ++steps;
    }
    EXPECT_EQ(steps, c.standingSteps);
    EXPECT_EQ(Cow().buckCounter, 0);
  }
}

// At tempo 0.25 a rear reaches its top on the 14th step; then it comes down.
TEST_F(CowAndDust, RearRisesToItsTopThenComesDown) {
  StartRound();
  Cow().buckCounter = 100;
  NextCoinIs(1);  // rear
  Step();
  ASSERT_EQ(CowStepIndex(), kRear);
  int rising = 0;
  std::vector<int> frames;
  while (CowStepIndex() == kRear) {
    rodeoState.speed = 0.25f;
    Step();
    ++rising;
    frames.push_back(Cow().cowSprite->srcTop / 196);
  }
  EXPECT_EQ(rising, 14);
  EXPECT_EQ(CowStepIndex(), kRearDown);
  EXPECT_FLOAT_EQ(rodeoState.pitch, 3.5f);
  EXPECT_EQ(rodeoState.lean, 1);  // the push from upright after a rear
  // Levels 0..3 by the truncated pitch: frames 2..5.
  EXPECT_EQ(frames, (std::vector<int>{2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5}));
  EXPECT_EQ(Cow().cowSprite->srcBottom, 196 * 5 + 195);
}

// With R held the cow stands two steps between bucks and each buck rises and
// falls in four steps each way.
TEST_F(CowAndDust, FullTempoBucksInFourStepsEachWay) {
  sys.keysDown.insert(0x52);
  StartRound();
  sys.keysDown.clear();
  while (CowStepIndex() != kStand) Step();
  Cow().buckCounter = 0;
  std::vector<int> phases;  // cow step after each engine step
  for (int i = 0; i < 20; ++i) {
    Step();
    const int s = CowStepIndex();
    phases.push_back(s == kStand ? 0 : (s == kRear || s == kKick) ? 1 : 2);
  }
  EXPECT_EQ(phases, (std::vector<int>{0, 1, 1, 1, 1, 2, 2, 2, 2, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 0}));
}

// Each buck pushes further the way the rider leans; the kind only matters at 0.
TEST_F(CowAndDust, BuckPushesTheRiderFurtherOut) {
  struct Case {
    int coin;  // 1 rear, 0 kick
    int from, to;
  };
  const Case cases[] = {{1, 0, 1}, {0, 0, -1}, {1, 2, 3}, {0, 2, 3}, {1, -2, -3}, {0, -1, -2}};
  sys.keysDown.insert(0x52);
  StartRound();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "coin " << c.coin << " from " << c.from);
    while (CowStepIndex() != kStand) Step();
    rodeoState.lean = static_cast<int16_t>(c.from);
    Cow().buckCounter = 100;
    NextCoinIs(c.coin);
    Step();
    ASSERT_EQ(CowStepIndex(), c.coin ? kRear : kKick);
    while (CowStepIndex() == kRear || CowStepIndex() == kKick) Step();
    EXPECT_EQ(rodeoState.lean, c.to);
  }
}

TEST_F(CowAndDust, NoBuckBeforeGo) {
  host.state = 1;
  Cow().buckCounter = 1000;
  for (int i = 0; i < 102; ++i) {
    Step();
    ASSERT_EQ(CowStepIndex(), kStand) << i;
  }
  EXPECT_EQ(Cow().buckCounter, 1000);  // not cleared at a round start
}

// After the fall the buck under way ends, no new one starts, the cow runs off to
// the left and the backdrop and tempo stand still; the next round brings it back.
TEST_F(CowAndDust, RunsOffAfterTheFall) {
  sys.keysDown.insert(0x52);
  StartRound();
  sys.keysDown.clear();
  Cow().buckCounter = 100;
  NextCoinIs(0);
  Step();  // a kick starts
  rodeoState.lean = -4;
  Click(false);
  Step();
  ASSERT_TRUE(rodeoState.fallen);
  while (CowStepIndex() != kStand) Step();
  const float speed = rodeoState.speed;
  const float scroll = rodeoState.scrollX;
  Step();
  EXPECT_EQ(Cow().cowSprite->x, static_cast<int>(105 - 7.5f * speed));
  Step(100);
  EXPECT_EQ(CowStepIndex(), kStand);
  EXPECT_EQ(rodeoState.speed, speed);
  EXPECT_EQ(rodeoState.scrollX, scroll);
  EXPECT_EQ(Cow().cowSprite->x, 105 - 400);
  EXPECT_FLOAT_EQ(Cow().runOff, 400.0f);
  host.state = 0;
  Step(2);
  host.state = 1;
  Step(2);
  EXPECT_EQ(Cow().cowSprite->x, 105);
}

TEST_F(CowAndDust, SnortsOnceTheRideHasLastedFifteenSeconds) {
  StartRound();
  Step();
  EXPECT_FALSE(Cow().snortSprite->visible);
  rodeoState.startTime -= 15000;
  Cow().buckCounter = 0;
  Step(2);  // the ride timer, then the cow sees it
  const CowWork& cow = Cow();
  EXPECT_TRUE(cow.snortSprite->visible);
  EXPECT_EQ(SourceOf(cow.snortSprite), (Rect{48 * cow.cowFrame, 564, 48 * cow.cowFrame + 47, 599}));
  EXPECT_EQ(cow.snortSprite->x, 99 - 6 * cow.cowFrame);
  EXPECT_EQ(cow.snortSprite->y, 266 - 3 * cow.cowFrame);
}

// However fast the bucks come, the cow calls at most once a second.
TEST_F(CowAndDust, CallsAtMostOnceASecondWhileBucking) {
  sys.keysDown.insert(0x52);  // a buck every ten steps
  StartRound();
  for (int i = 0; i < 300; ++i) {
    rodeoState.lean = 0;
    Step();
  }
  std::vector<uint32_t> calls;
  for (const SoundEvent& e : recordedSounds()) {
    if (e.name == "cow1.wav") {
      EXPECT_TRUE(e.play && !e.loop);
      calls.push_back(e.time);
    }
  }
  ASSERT_GE(calls.size(), 4u);  // 4.8 s of riding
  for (size_t i = 1; i < calls.size(); ++i) EXPECT_GT(calls[i] - calls[i - 1], 1000u);
  EXPECT_LE(calls[1] - calls[0], 1000u + 160u);  // the next buck after the second is up calls again
}

// The cow's call waits a second after each call, across the clock's wrap too.
TEST_F(CowAndDust, CallsAtMostOnceASecond) {
  struct Case {
    uint32_t nextCallTime;  // a second after the previous call; 0 before the first
    uint32_t now;           // when the next buck starts
    bool calls;
  };
  const Case cases[] = {
      {0, 100000, true},
      {101000, 100999, false},
      {101000, 101000, false},
      {101000, 101001, true},
      {0x2E8, 0xFFFFFFF0u, false},  // the previous call just before the clock's wrap
      {0x2E8, 0x2E9, true},
  };
  StartRound();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.nextCallTime << " at " << c.now);
    while (CowStepIndex() != kStand) Step();
    rodeoState.lean = 0;
    Cow().nextCallTime = c.nextCallTime;
    Cow().buckCounter = 100;
    const uint32_t saved = sys.time;
    klClock.nextStepTime = c.now;
    Step();
    EXPECT_NE(CowStepIndex(), kStand);
    EXPECT_EQ(Cow().nextCallTime, c.calls ? c.now + 1000 : c.nextCallTime);
    sys.time = saved;
    klClock.nextStepTime = saved;
    rodeoState.startTime = saved;
  }
}

// A cloud shows 13 steps drifting right and up, frees its sprite on the 14th and
// its task goes on the 15th; it runs after the cursor task, before the idle task.
TEST_F(CowAndDust, DustCloudPlaysItsFramesAndGoes) {
  StartRound();
  Cow().buckCounter = 100;
  NextCoinIs(0);  // kick: the cloud starts at 220, 240
  const int tasksBefore = klTaskCount();
  Step();
  klTask* dust = FindTask(DustTaskSteps);
  ASSERT_NE(dust, nullptr);
  EXPECT_EQ(dust->prev->stepTable, CursorTaskSteps);
  EXPECT_EQ(dust->next->stepTable, IdleTaskSteps);
  klSprite* cloud = static_cast<DustWork*>(dust->work)->dustSprite;
  EXPECT_EQ(cloud->priority, kDustPriority);
  EXPECT_EQ(cloud->x, 220);
  EXPECT_EQ(cloud->y, 240);
  std::vector<int> frames = {cloud->srcLeft / 77};
  int x = cloud->x;
  for (int i = 1; i < 13; ++i) {
    Step();
    frames.push_back(cloud->srcLeft / 77);
    EXPECT_GE(cloud->x, x);
    x = cloud->x;
  }
  EXPECT_EQ(frames, (std::vector<int>{0, 0, 0, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3}));
  EXPECT_GT(cloud->x, 220);
  EXPECT_LT(cloud->y, 240);
  int sprites = 0;
  for (klSprite* s = klSpriteHead()->next; s; s = s->next) ++sprites;
  Step();  // 14th: the sprite goes
  int spritesAfter = 0;
  for (klSprite* s = klSpriteHead()->next; s; s = s->next) ++spritesAfter;
  EXPECT_EQ(spritesAfter, sprites - 1);
  EXPECT_EQ(klTaskCount(), tasksBefore + 1);
  Step();  // 15th: the task goes
  EXPECT_EQ(klTaskCount(), tasksBefore);
  EXPECT_EQ(FindTask(DustTaskSteps), nullptr);
}

}  // namespace
