// How long the message loop may rest between two turns, without windows. The loop
// waits for the next message, or until the next tick can do something: the tick
// check passes once the clock has moved past the last tick by more than the tick
// interval, and a tick runs a step only once the engine's clock has reached its
// next step. Waking at the later of the two makes no tick later than a loop that
// polls without rest.
#pragma once

#include <cstdint>

namespace shell {

// Wait until a message comes, however long (INFINITE).
constexpr uint32_t kRestUntilMessage = 0xFFFFFFFFu;

struct LoopClock {
  bool canTick;           // a tick would reach the engine: ticking, engine ready, active
  uint32_t now;           // the multimedia clock
  uint32_t lastTickTime;  // the tick check's last reading
  uint32_t tickInterval;  // the descriptor's tick interval
  uint32_t nextStepTime;  // when the engine's clock runs its next step
  uint32_t stepMs;        // the engine's step; the longest rest while ticking
};

// Milliseconds to wait for a message before the next turn: kRestUntilMessage when
// no tick can be due, 0 when one is due now. Unsigned 32-bit arithmetic throughout,
// so the times may wrap; a step time further ahead than one step (a clock reset
// meanwhile) waits one step at most.
uint32_t LoopRestMs(const LoopClock& clock);

// The benchmark switch RODEO_BUSY_LOOP: "1" keeps the loop that never rests, for
// measuring against it.
bool BusyLoopWanted(const char* value);

}  // namespace shell
