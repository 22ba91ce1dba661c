// The ride time: from GO to the fall on the multimedia clock, without the time
// spent paused, and its digit row at the top of the view.
#include <cstdio>

#include "engine/kl_input.h"
#include "core/kl_system.h"
#include "engine/kl_task.h"
#include "game/rodeo_state.h"
#include "game/rodeo_tasks.h"

namespace {

// The digit row has three integer places; longer rides show the largest value.
constexpr uint32_t kLargestShownMs = 999999;

void RideTimerTask() {
  RodeoState& st = rodeoState;
  RideTimerWork* w = static_cast<RideTimerWork*>(klCurTaskWork);
  // A pause is noticed by the engine's count of stops, not by its length
  // changing: two pauses of the same length must both be left out. A ride is
  // paused with the host state at 2, in which no step runs, so the first step
  // that sees a new count comes after the resume has put the pause's length
  // into stopTicks. Checked before the fall test as well, so that a pause
  // between the fall and the step that times it does not count either.
  if (stopCount != w->seenStops) {
    st.startTime += stopTicks;
    w->seenStops = stopCount;
  }
  const uint32_t now = klSystem()->Time();
  if (st.fallen) {
    if (st.resultMs == 0) st.resultMs = now - st.startTime;
    st.elapsedMs = st.resultMs;
  } else if (!st.rideStarted) {
    st.startTime = now;
    st.elapsedMs = 0;
  } else {
    st.elapsedMs = now - st.startTime;  // unsigned: right across the clock's wrap
  }
}

}  // namespace

const klStepFn RideTimerTaskSteps[] = {RideTimerTask};

void CreateRideTimerTask() {
  RideTimerWork* w = static_cast<RideTimerWork*>(
      klTaskCreate(RideTimerTaskSteps, kCompanionPriority, KL_RUN_MODE_ZERO, sizeof(RideTimerWork)));
  w->seenStops = stopCount;
}

void ShowTime() {
  uint32_t shown = rodeoState.elapsedMs;
  if (shown > kLargestShownMs) shown = kLargestShownMs;
  char text[16];
  std::snprintf(text, sizeof text, "%07.3f", shown * 0.001);
  for (int i = 0; i < 3; ++i) {
    const int d = static_cast<uint8_t>(text[i] - '0');
    rodeoScene.bigDigits[i]->srcLeft = kBigDigitPitch * d;
    rodeoScene.bigDigits[i]->srcRight = kBigDigitPitch * d + 33;
  }
  for (int i = 0; i < 3; ++i) {
    const int d = static_cast<uint8_t>(text[4 + i] - '0');
    rodeoScene.smallDigits[i]->srcLeft = kSmallDigitPitch * d;
    rodeoScene.smallDigits[i]->srcRight = kSmallDigitPitch * d + 26;
  }
}
