#include "shell/loop_wait.h"

#include <algorithm>
#include <cstring>

namespace shell {

namespace {

// Milliseconds from now until a moment, 0 when it has come.
uint32_t Until(uint32_t moment, uint32_t now) {
  int32_t ahead = static_cast<int32_t>(moment - now);
  return ahead > 0 ? static_cast<uint32_t>(ahead) : 0;
}

}  // namespace

uint32_t LoopRestMs(const LoopClock& clock) {
  if (!clock.canTick) return kRestUntilMessage;
  // The tick check passes at lastTickTime + interval + 1, the step at nextStepTime.
  uint32_t checkPasses = Until(clock.lastTickTime + clock.tickInterval + 1, clock.now);
  uint32_t stepDue = Until(clock.nextStepTime, clock.now);
  uint32_t longest = std::max<uint32_t>(clock.stepMs, 1);
  return std::min(std::max(checkPasses, stepDue), longest);
}

bool BusyLoopWanted(const char* value) { return value && std::strcmp(value, "1") == 0; }

}  // namespace shell
