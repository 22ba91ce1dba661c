// RodeoTask: a round from the title through READY and GO, the ride, the fall and
// the lying rider to the result hand-over; the balance rule; host stops.
#include <string>
#include <vector>

#include "tests/game/rodeo_fixture.h"

namespace {

using Round = RodeoFixture;

std::vector<std::string> WithoutCowCalls(std::vector<std::string> cues) {
  std::vector<std::string> kept;
  for (const std::string& c : cues) {
    if (c != "play cow1.wav") kept.push_back(c);
  }
  return kept;
}

// A whole round without a click: the rider falls at the top of the fifth buck,
// lies, and the result goes to the host; then the title again.
TEST_F(Round, PlaysFromTheTitleToTheHandOver) {
  Step(5);
  EXPECT_EQ(RodeoStepIndex(), kWaitStart);
  EXPECT_TRUE(rodeoScene.coverSprite->visible);

  host.state = 1;
  Step();  // the round starts
  EXPECT_EQ(RodeoStepIndex(), kReadySign);
  EXPECT_EQ(SoundCues(), (std::vector<std::string>{"play ready.wav"}));
  EXPECT_FLOAT_EQ(rodeoState.speed, 0.1f);
  Step(100);
  EXPECT_EQ(RodeoStepIndex(), kReadySign);
  EXPECT_FALSE(rodeoScene.coverSprite->visible);
  Step();  // the 101st READY step gives GO
  EXPECT_EQ(RodeoStepIndex(), kRiding);
  EXPECT_TRUE(rodeoState.rideStarted);
  EXPECT_EQ(SourceOf(rodeoScene.signSprite), (Rect{0, 426, 364, 482}));
  EXPECT_NEAR(rodeoState.speed, 0.1 + 101 * 0.0003, 1e-5);  // it grows during READY too
  const uint32_t goTime = sys.time;
  EXPECT_EQ(SoundCues(), (std::vector<std::string>{"play ready.wav", "loop bgm.wav", "play go.wav"}));

  // Each buck moves the lean one further out, whatever its kind once it is not 0.
  std::vector<int> leans;
  int steps = 0;
  while (RodeoStepIndex() == kRiding && steps++ < 2000) {
    const int before = rodeoState.lean;
    Step();
    if (rodeoState.lean != before) leans.push_back(rodeoState.lean);
  }
  ASSERT_EQ(leans.size(), 4u);
  const int side = leans[0];
  EXPECT_EQ(leans, (std::vector<int>{side, 2 * side, 3 * side, 4 * side}));
  EXPECT_TRUE(rodeoState.fallen);
  EXPECT_EQ(RodeoStepIndex(), side > 0 ? kFallPositive : kFallNegative);
  for (klSprite* dot : rodeoScene.ropeDots) EXPECT_FALSE(dot->visible);
  const uint32_t fallTime = sys.time;

  Step();  // the ride time is taken on the step after the fall
  EXPECT_EQ(rodeoState.resultMs, fallTime + 16 - goTime);
  const uint32_t resultMs = rodeoState.resultMs;

  while (RodeoStepIndex() != kLieOnGround && steps++ < 4000) Step();
  Step(120);
  EXPECT_EQ(RodeoStepIndex(), kLieOnGround);
  Step();  // the 121st: pu
  EXPECT_EQ(RodeoStepIndex(), kShowResult);
  Step(120);
  EXPECT_TRUE(host.results.empty());
  Step();
  ASSERT_EQ(host.results.size(), 1u);
  char text[32];
  std::snprintf(text, sizeof text, "%3u.%03u", resultMs / 1000, resultMs % 1000);
  EXPECT_EQ(host.results[0].first, text);
  EXPECT_EQ(host.results[0].first.size(), 7u);
  EXPECT_EQ(host.results[0].second, static_cast<int>(resultMs));
  EXPECT_EQ(host.requests, (std::vector<int>{0}));
  EXPECT_EQ(host.state, 0);
  EXPECT_TRUE(rodeoScene.coverSprite->visible);
  EXPECT_EQ(RodeoStepIndex(), kWaitStart);
  EXPECT_EQ(WithoutCowCalls(SoundCues()), (std::vector<std::string>{"play ready.wav", "loop bgm.wav", "play go.wav",
                                                                     "stop bgm.wav", "play pu.wav"}));

  Step(50);  // stays at the title until started again
  EXPECT_EQ(RodeoStepIndex(), kWaitStart);
  EXPECT_EQ(host.results.size(), 1u);
}

// The banner zooms from the centre; its first rectangle is inverted.
TEST_F(Round, ReadyBannerZoomsFromTheCentre) {
  struct Case {
    int step;
    int x, y, right, bottom;
  };
  const Case cases[] = {
      {1, 196, 148, 14, 2},       // right and bottom from the position at creation
      {2, 189, 147, 225, 152},
      {13, 109, 135, 305, 165},   // half-way
      {30, 22, 122, 386, 178},    // full size
      {100, 22, 122, 386, 178},
  };
  host.state = 1;
  Step();
  int done = 0;
  for (const Case& c : cases) {
    Step(c.step - done);
    done = c.step;
    SCOPED_TRACE(c.step);
    EXPECT_EQ(RodeoStepIndex(), kReadySign);
    EXPECT_TRUE(rodeoScene.signSprite->visible);
    EXPECT_TRUE(rodeoScene.signSprite->scaled);
    EXPECT_EQ(SourceOf(rodeoScene.signSprite), (Rect{0, 369, 364, 425}));
    EXPECT_EQ((Rect{rodeoScene.signSprite->x, rodeoScene.signSprite->y, rodeoScene.signSprite->right, rodeoScene.signSprite->bottom}),
              (Rect{c.x, c.y, c.right, c.bottom}));
  }
}

TEST_F(Round, GoBannerGoesAfterItsThirtyEighthStep) {
  StartRound();
  Step(37);
  EXPECT_TRUE(rodeoScene.signSprite->visible);
  Step();
  EXPECT_FALSE(rodeoScene.signSprite->visible);
}

// One step of Riding with the given presses, from the given lean.
TEST_F(Round, BalanceRule) {
  struct Case {
    int from;
    bool right, left;
    int coin;  // the draw of klRand(0, 1) where the rule takes one
    int to;
    bool falls;
  };
  const Case cases[] = {
      {0, true, false, 0, 1, false},   {1, true, false, 0, 3, false},  // same way adds 2
      {-1, true, false, 0, 0, false},  {-2, true, false, 0, -1, false}, {-2, true, false, 1, 0, false},
      {0, false, true, 0, -1, false},  {-1, false, true, 0, -3, false}, {1, false, true, 0, 0, false},
      {2, false, true, 0, 1, false},   {2, false, true, 1, 0, false},
      {4, true, false, 0, 4, true},    {3, true, false, 0, 4, true},    {-4, false, true, 0, -4, true},
      {4, false, true, 0, 3, false},   {4, false, true, 1, 2, false},  // from 4 a left press rights
      {0, true, true, 0, 0, false},    // right first, then left
      {4, true, true, 1, 4, false},    // 6, then back to 4: the limit is tested once, after both
      {3, true, true, 0, 4, false},
      {-4, true, true, 1, -4, false},  // -4 + 2 = -2, then -2 - 2 = -4
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << (c.right ? " R" : "") << (c.left ? " L" : "") << " coin " << c.coin);
    if (RodeoStepIndex() != kRiding) {
      host.state = 0;
      Step();
      StartRound();
    }
    rodeoState.lean = static_cast<int16_t>(c.from);
    Cow().buckCounter = 0;  // no buck in this step
    if (c.right) Click(true);
    if (c.left) Click(false);
    NextCoinIs(c.coin);
    Step();
    EXPECT_EQ(rodeoState.lean, c.to);
    EXPECT_EQ(rodeoState.fallen != 0, c.falls);
    if (c.falls) {
      EXPECT_EQ(RodeoStepIndex(), c.to > 0 ? kFallPositive : kFallNegative);
    }
  }
}

TEST_F(Round, ClicksCountOnlyWhileRiding) {
  auto clickBothAndStep = [&](int n) {
    for (int i = 0; i < n; ++i) {
      Click(true);
      Click(i % 2 == 0);
      Step();
    }
  };
  clickBothAndStep(10);  // title
  host.state = 1;
  clickBothAndStep(102);  // the start and READY
  EXPECT_EQ(RodeoStepIndex(), kRiding);
  EXPECT_EQ(rodeoState.lean, 0);
  Click(true);
  Step();
  EXPECT_EQ(rodeoState.lean, 1);
  Click(true);
  Click(true);  // one push per step, however many presses
  Step();
  EXPECT_EQ(rodeoState.lean, 3);
  Click(true);
  Step();
  EXPECT_EQ(rodeoState.lean, 4);
  EXPECT_TRUE(rodeoState.fallen);
  clickBothAndStep(400);  // fall, lying, result wait
  EXPECT_EQ(host.results.size(), 1u);
  EXPECT_EQ(rodeoState.lean, 4);
}

TEST_F(Round, HoldingRAtTheStartRunsAtFullSpeed) {
  sys.keysDown.insert(0x52);
  host.state = 1;
  Step();
  EXPECT_FLOAT_EQ(rodeoState.speed, 1.0f);
  sys.keysDown.clear();
  host.state = 0;
  Step();
  host.state = 1;
  Step();
  EXPECT_FLOAT_EQ(rodeoState.speed, 0.1f);
}

// Rider pose rows and positions for every lean, upright frames included.
TEST_F(Round, RiderPoseFollowsTheLeanAndThePitch) {
  struct Case {
    int lean, frame;
    float pitch;
    Rect source;
    int x, y;
  };
  const Case cases[] = {
      {0, 0, 0, {0, 0, 71, 120}, 190, 76},       {0, 1, 0, {72, 0, 143, 120}, 190, 76},
      {1, 0, 0, {144, 0, 226, 118}, 190, 79},    {2, 1, 0, {227, 0, 309, 118}, 191, 79},
      {3, 0, 0, {0, 121, 93, 229}, 193, 94},     {4, 0, 0, {94, 121, 187, 229}, 193, 94},
      {-1, 0, 0, {89, 230, 177, 344}, 151, 85},  {-2, 0, 0, {0, 230, 88, 344}, 151, 85},
      {-3, 0, 0, {282, 230, 385, 332}, 122, 103}, {-4, 1, 0, {178, 230, 281, 332}, 122, 103},
      {0, 0, 2.0f, {0, 0, 71, 120}, 194, 66},    {0, 0, -2.0f, {0, 0, 71, 120}, 185, 66},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "lean " << c.lean << " pitch " << c.pitch);
    rodeoState.lean = static_cast<int16_t>(c.lean);
    rodeoState.pitch = c.pitch;
    UpdateRiderPose(c.frame);
    EXPECT_EQ(SourceOf(rodeoScene.riderSprite), c.source);
    EXPECT_EQ(rodeoScene.riderSprite->x, c.x);
    EXPECT_EQ(rodeoScene.riderSprite->y, c.y);
  }
}

TEST_F(Round, RopeRunsFromTheCowToJustShortOfTheHand) {
  struct Case {
    int lean;
    float pitch;
    int dot, x, y;
  };
  const Case cases[] = {
      {0, 0, 0, 182, 194},    // anchor row 4 at the cow's resting place
      {0, 0, 15, 187, 174},   // half-way, sagging 2 pixels
      {0, 0, 29, 191, 152},   // one step short of the hand at 192, 151
      {0, 3.75f, 0, 195, 168}, // rearing: anchor row 0
      {-4, 0, 0, 182, 194},
      {-4, 0, 29, 148, 174},  // hand of row 9 at 203 + 122 - 178, 301 + 103 - 230
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "lean " << c.lean << " pitch " << c.pitch << " dot " << c.dot);
    rodeoState.lean = static_cast<int16_t>(c.lean);
    rodeoState.pitch = c.pitch;
    UpdateRiderPose(0);
    UpdateRope();
    EXPECT_TRUE(rodeoScene.ropeDots[c.dot]->visible);
    EXPECT_EQ(rodeoScene.ropeDots[c.dot]->x, c.x);
    EXPECT_EQ(rodeoScene.ropeDots[c.dot]->y, c.y);
  }
}

// From each side: the falling frames, the drop onto the ground, the lying pose
// and the stretched upper half after 121 steps.
TEST_F(Round, FallsAndLiesOnEitherSide) {
  struct Case {
    bool right;
    int x, startY, fallSteps;
    Rect frame0, frame2, lying;
    int stretchedBottom, halfBottom;
  };
  const Case cases[] = {
      {true, 193, 94, 36, {0, 345, 122, 441}, {246, 345, 368, 441}, {0, 442, 122, 538}, 316, 490},
      {false, 122, 103, 33, {0, 539, 122, 623}, {246, 539, 368, 623}, {0, 624, 122, 708}, 304, 666},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.right ? "positive" : "negative");
    if (RodeoStepIndex() != kWaitStart) {
      host.state = 0;
      Step();
    }
    StartRound();
    rodeoState.lean = static_cast<int16_t>(c.right ? 4 : -4);
    Cow().buckCounter = 0;
    Click(c.right);
    Step();
    ASSERT_EQ(RodeoStepIndex(), c.right ? kFallPositive : kFallNegative);
    EXPECT_EQ(rodeoScene.riderSprite->y, c.startY);
    Step(5);
    EXPECT_EQ(SourceOf(rodeoScene.riderSprite), c.frame0);
    EXPECT_EQ(rodeoScene.riderSprite->x, c.x);
    EXPECT_EQ(rodeoScene.riderSprite->y, c.startY + 15);
    Step(20);
    EXPECT_EQ(SourceOf(rodeoScene.riderSprite), c.frame2);
    Step(c.fallSteps - 26);  // frame index 3: still frame 2
    EXPECT_EQ(SourceOf(rodeoScene.riderSprite), c.frame2);
    EXPECT_NE(RodeoStepIndex(), kLieOnGround);
    Step();
    EXPECT_EQ(RodeoStepIndex(), kLieOnGround);
    EXPECT_EQ(SourceOf(rodeoScene.riderSprite), c.lying);
    EXPECT_EQ(rodeoScene.riderSprite->x, c.x);
    EXPECT_EQ(rodeoScene.riderSprite->y, 220);
    Step(121);
    EXPECT_EQ(RodeoStepIndex(), kShowResult);
    EXPECT_EQ(SourceOf(rodeoScene.riderSprite), (Rect{c.lying.left, c.lying.top, c.lying.right, c.halfBottom}));
    EXPECT_TRUE(rodeoScene.riderSprite->scaled);
    EXPECT_EQ((Rect{rodeoScene.riderSprite->x, rodeoScene.riderSprite->y, rodeoScene.riderSprite->right, rodeoScene.riderSprite->bottom}),
              (Rect{c.x, 180, c.x + 122, c.stretchedBottom}));
    host.state = 0;
    Step();
    Step();
    EXPECT_FALSE(rodeoScene.riderSprite->scaled);
  }
}

// A stop by the host returns any step to WaitStart and hands nothing over.
TEST_F(Round, HostStopEndsTheRoundFromAnyStep) {
  struct Case {
    RodeoStep at;
    int extraSteps;  // steps to run inside that step first
  };
  const Case cases[] = {{kReadySign, 50}, {kRiding, 3},     {kFallPositive, 2},
                        {kLieOnGround, 60}, {kShowResult, 0}, {kShowResult, 120}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "step " << c.at << " + " << c.extraSteps);
    host.state = 1;
    Step();
    int guard = 0;
    while (RodeoStepIndex() != c.at && guard++ < 1000) {
      if (RodeoStepIndex() == kRiding && c.at != kRiding) {
        rodeoState.lean = 4;
        Click(true);
      }
      Step();
    }
    ASSERT_EQ(RodeoStepIndex(), c.at);
    Step(c.extraSteps);
    ASSERT_EQ(RodeoStepIndex(), c.at);
    host.state = 0;
    Step();
    EXPECT_EQ(RodeoStepIndex(), kWaitStart);
    EXPECT_EQ(SoundCues().back(), "stop bgm.wav");
    Step();
    EXPECT_TRUE(rodeoScene.coverSprite->visible);
    EXPECT_FALSE(rodeoState.rideStarted);
    Step(200);
    EXPECT_TRUE(host.results.empty());
  }
}

}  // namespace
