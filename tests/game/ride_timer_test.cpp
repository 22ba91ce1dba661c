// The ride time: from GO to the step after the fall, without pauses, and the
// digit row that shows it.
#include "tests/game/rodeo_fixture.h"

namespace {

using RideTimer = RodeoFixture;

// Rides a round with pauses of the given lengths, then makes the rider fall.
TEST_F(RideTimer, PausesAreLeftOutOfTheRideTime) {
  struct Case {
    const char* name;
    std::vector<uint32_t> pauses;
  };
  const Case cases[] = {
      {"none", {}},
      {"one", {5000}},
      {"two of the same length", {700, 700}},
      {"three, two alike", {250, 1300, 1300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.state = 0;
    Step(2);
    StartRound();
    const uint32_t goTime = sys.time;  // the GO step
    uint32_t paused = 0;
    for (uint32_t ms : c.pauses) {
      Step(10);
      Pause(ms);
      paused += ms;
      EXPECT_EQ(rodeoState.elapsedMs, sys.time - goTime - paused);
    }
    Step(10);
    EXPECT_EQ(rodeoState.elapsedMs, sys.time - goTime - paused);
    rodeoState.lean = 4;
    Click(true);
    Step();
    const uint32_t fallTime = sys.time;
    Step();
    EXPECT_EQ(rodeoState.resultMs, fallTime + 16 - goTime - paused);
    Step(10);
    EXPECT_EQ(rodeoState.elapsedMs, rodeoState.resultMs);  // frozen after the fall
  }
}

// A pause between the fall and the step that takes the time counts no more
// than one during the ride.
TEST_F(RideTimer, PauseRightAfterTheFallIsLeftOutToo) {
  StartRound();
  const uint32_t goTime = sys.time;
  Step(20);
  rodeoState.lean = 4;
  Click(true);
  Step();
  const uint32_t fallTime = sys.time;
  Pause(3000);  // its resume step takes the time
  EXPECT_EQ(rodeoState.resultMs, fallTime - goTime);
}

TEST_F(RideTimer, DigitsStayAtZeroUntilGoAndClearAtTheNextRound) {
  Step(3);
  host.state = 1;
  Step(50);
  EXPECT_EQ(rodeoState.elapsedMs, 0u);
  Step(60);
  EXPECT_GT(rodeoState.elapsedMs, 0u);
  host.state = 0;  // reset: nothing handed over
  Step(2);
  host.state = 1;
  Step(2);
  EXPECT_EQ(rodeoState.elapsedMs, 0u);
  EXPECT_EQ(rodeoScene.bigDigits[2]->srcLeft, 0);
  EXPECT_EQ(rodeoScene.smallDigits[2]->srcLeft, 0);
  EXPECT_TRUE(host.results.empty());
}

TEST_F(RideTimer, DigitRowShowsTheTimeAndStopsAt999999) {
  struct Case {
    uint32_t ms;
    int digits[6];  // three big, three small
  };
  const Case cases[] = {
      {0, {0, 0, 0, 0, 0, 0}},
      {4321, {0, 0, 4, 3, 2, 1}},
      {12345, {0, 1, 2, 3, 4, 5}},
      {999999, {9, 9, 9, 9, 9, 9}},
      {1000000, {9, 9, 9, 9, 9, 9}},  // 1000 s and on: no wrong characters
      {4294967295u, {9, 9, 9, 9, 9, 9}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ms);
    rodeoState.elapsedMs = c.ms;
    ShowTime();
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(rodeoScene.bigDigits[i]->srcLeft, 34 * c.digits[i]);
      EXPECT_EQ(rodeoScene.bigDigits[i]->srcRight, 34 * c.digits[i] + 33);
      EXPECT_EQ(rodeoScene.bigDigits[i]->srcTop, 301);
      EXPECT_EQ(rodeoScene.smallDigits[i]->srcLeft, 27 * c.digits[3 + i]);
      EXPECT_EQ(rodeoScene.smallDigits[i]->srcRight, 27 * c.digits[3 + i] + 26);
      EXPECT_EQ(rodeoScene.smallDigits[i]->srcTop, 339);
    }
    EXPECT_EQ(SourceOf(rodeoScene.pointSprite), (Rect{270, 339, 278, 368}));
  }
}

// Results of 1000 s and more are handed over as they are, wider than seven characters.
TEST_F(RideTimer, LongRideIsHandedOverUnchanged) {
  StartRound();
  rodeoState.startTime -= 1234567;  // as if the ride had lasted 20 minutes
  rodeoState.lean = 4;
  Click(true);
  const uint32_t expected = sys.time + 32 - rodeoState.startTime;  // timed on the step after the fall
  while (host.results.empty() && RodeoStepIndex() != kWaitStart) Step();
  ASSERT_EQ(host.results.size(), 1u);
  EXPECT_EQ(host.results[0].second, static_cast<int>(expected));
  char text[32];
  std::snprintf(text, sizeof text, "%u.%03u", expected / 1000, expected % 1000);
  EXPECT_EQ(host.results[0].first, text);
  EXPECT_EQ(SourceOf(rodeoScene.bigDigits[0]).left, 34 * 9);
}

}  // namespace
