// The message loop's rest as a table: from what the loop knows at the end of a turn
// (whether a tick can reach the engine, the clock, the last tick, the engine's next
// step), how long it waits for a message before the next turn.
#include "shell/loop_wait.h"

#include <gtest/gtest.h>

namespace {

using shell::kRestUntilMessage;
using shell::LoopClock;

struct Case {
  const char* name;
  LoopClock clock;
  uint32_t restMs;
};

TEST(LoopRest, WaitsUntilTheNextTickCanRunAStep) {
  const Case cases[] = {
      // canTick, now, lastTick, interval, nextStep, stepMs
      {"inactive or not ready: only a message ends the rest", {false, 1000, 990, 0, 1000, 16}, kRestUntilMessage},
      {"step due now, clock moved on: no rest", {true, 1000, 999, 0, 1000, 16}, 0},
      {"step overdue: no rest", {true, 1000, 990, 0, 970, 16}, 0},
      {"step in 7 ms", {true, 1000, 1000, 0, 1007, 16}, 7},
      {"step due but the clock has not moved since the last tick", {true, 1000, 1000, 0, 995, 16}, 1},
      {"interval 10: the check passes only 11 ms after the last tick", {true, 105, 100, 10, 100, 16}, 6},
      {"interval 10, the step later than the check", {true, 105, 100, 10, 114, 16}, 9},
      {"a step further ahead than one step waits one step", {true, 1000, 1000, 0, 5000, 16}, 16},
      {"the clock wraps before the step", {true, 0xFFFFFFF8u, 0xFFFFFFF8u, 0, 4, 16}, 12},
      {"the clock wrapped past the step", {true, 2, 1, 0, 0xFFFFFFFEu, 16}, 0},
      {"the tick check wraps", {true, 0xFFFFFFFFu, 0xFFFFFFFFu, 0, 0xFFFFFFF0u, 16}, 1},
      {"a step of 0 ms rests 1 ms at most", {true, 1000, 1000, 0, 1100, 0}, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(shell::LoopRestMs(c.clock), c.restMs) << c.name;
}

TEST(LoopRest, OnlyOneSelectsTheBusyLoop) {
  EXPECT_TRUE(shell::BusyLoopWanted("1"));
  for (const char* value : {static_cast<const char*>(nullptr), "", "0", "yes", "10"})
    EXPECT_FALSE(shell::BusyLoopWanted(value)) << (value ? value : "(unset)");
}

}  // namespace
