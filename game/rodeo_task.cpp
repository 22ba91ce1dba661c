// RodeoTask: one round from the title picture through READY and GO, the ride,
// the fall and the lying rider to the result hand-over.
#include <cstdio>
#include <cstring>

#include "engine/kl_input.h"
#include "engine/kl_math.h"
#include "core/kl_system.h"
#include "engine/mg_host.h"
#include "game/rodeo_state.h"
#include "game/rodeo_tasks.h"
#include "media/kl_media.h"

namespace {

constexpr int kRKey = 0x52;

RodeoWork* Work() { return static_cast<RodeoWork*>(klCurTaskWork); }
void GoTo(RodeoStep step) { *klCurTaskStep = step; }

// A stop by the host ends the round from any step but WaitStart.
bool HostStopped() {
  if (GetMgHost()->GetState() != kMgIdle) return false;
  klSoundStop(rodeoScene.bgmSound);
  GoTo(kWaitStart);
  return true;
}

void WaitStart() {
  rodeoScene.coverSprite->visible = 1;
  rodeoState.rideStarted = 0;
  rodeoState.fallen = 0;
  rodeoScene.riderSprite->scaled = 0;
  if (GetMgHost()->GetState() != kMgRunning) return;

  RodeoState& st = rodeoState;
  st.scrollX = st.scrollY = 0;
  st.lean = 0;
  st.pitch = 0;
  st.speed = klSystem()->KeyDown(kRKey) ? 1.0f : 0.1f;
  st.elapsedMs = st.resultMs = 0;
  std::memset(Work(), 0, sizeof(RodeoWork));
  klSoundPlay(rodeoScene.readySound, 0);
  SetSource(rodeoScene.signSprite, kReadyRect);
  GoTo(kReadySign);
}

void ReadySign() {
  if (HostStopped()) return;
  RodeoWork* w = Work();
  rodeoScene.coverSprite->visible = 0;
  w->signTimer += 0.04;
  const float s = w->signTimer < 1.0f ? w->signTimer : 1.0f;
  // The far edges come from the previous position, so the first frame's
  // rectangle is inverted and draws nothing.
  rodeoScene.signSprite->scaled = 1;
  rodeoScene.signSprite->right = static_cast<int32_t>(rodeoScene.signSprite->x + 364 * s);
  rodeoScene.signSprite->bottom = static_cast<int32_t>(rodeoScene.signSprite->y + 56 * s);
  rodeoScene.signSprite->x = static_cast<int32_t>((400 - 364 * s) * 0.5 + 4);
  rodeoScene.signSprite->y = static_cast<int32_t>((300 - 56 * s) * 0.5);
  rodeoScene.signSprite->visible = 1;
  if (w->signTimer > 4.0f) {
    w->signTimer = 0;
    rodeoState.rideStarted = 1;
    klSoundPlay(rodeoScene.bgmSound, 1);
    klSoundPlay(rodeoScene.goSound, 0);
    SetSource(rodeoScene.signSprite, kGoRect);
    GoTo(kRiding);
  }
  UpdateRiderPose(w->riderFrame);
  UpdateRope();
}

// A press pushes the balance towards its side: by 2 when the rider already leans
// that way, by 1 near the upright, by 1 or 2 at random against a larger lean.
void PushPositive(int16_t& lean) {
  if (lean > 0) lean += 2;
  else if (lean >= -1) lean += 1;
  else lean += 1 + klRand(0, 1);
}

void PushNegative(int16_t& lean) {
  if (lean < 0) lean -= 2;
  else if (lean <= 1) lean -= 1;
  else lean -= 1 + klRand(0, 1);
}

void Riding() {
  if (HostStopped()) return;
  RodeoWork* w = Work();
  RodeoState& st = rodeoState;
  w->signTimer += 0.04;
  if (w->signTimer > 1.5f) rodeoScene.signSprite->visible = 0;
  ++w->frameCounter;
  if (20 - 20 * st.speed < w->frameCounter) {
    w->frameCounter = 0;
    w->riderFrame ^= 1;
  }
  if (klInput.rightPressed) PushPositive(st.lean);
  if (klInput.leftPressed) PushNegative(st.lean);
  // A buck earlier in this step may also have carried the lean past 4.
  if (st.lean > 4) {
    st.lean = 4;
    st.fallen = 1;
  } else if (st.lean < -4) {
    st.lean = -4;
    st.fallen = 1;
  }
  UpdateRiderPose(w->riderFrame);
  if (!st.fallen) {
    UpdateRope();
    return;
  }
  rodeoScene.signSprite->visible = 0;
  for (klSprite* dot : rodeoScene.ropeDots) dot->visible = 0;
  w->stepTimer = 0;
  klSoundStop(rodeoScene.bgmSound);
  GoTo(st.lean == 4 ? kFallPositive : kFallNegative);
}

void Fall(const RodeoRect& firstFrame, const RodeoRect& lying) {
  if (HostStopped()) return;
  RodeoWork* w = Work();
  RodeoState& st = rodeoState;
  w->stepTimer += 0.1;
  st.riderY += 3.0f;
  if (st.riderY > 200.0f) {
    st.riderY = 220.0f;  // a 20-pixel drop onto the ground
    SetSource(rodeoScene.riderSprite, lying);
    rodeoScene.riderSprite->x = static_cast<int32_t>(st.riderX);
    rodeoScene.riderSprite->y = 220;
    w->stepTimer = 0;
    GoTo(kLieOnGround);
    return;
  }
  int n = static_cast<int>(w->stepTimer);
  if (n > 2) n = 2;
  RodeoRect frame = firstFrame;
  frame.left += kFallFramePitch * n;
  frame.right += kFallFramePitch * n;
  SetSource(rodeoScene.riderSprite, frame);
  rodeoScene.riderSprite->x = static_cast<int32_t>(st.riderX);
  rodeoScene.riderSprite->y = static_cast<int32_t>(st.riderY);
}

void FallPositive() { Fall(kFallPositiveRect, kLiePositiveRect); }
void FallNegative() { Fall(kFallNegativeRect, kLieNegativeRect); }

void LieOnGround() {
  if (HostStopped()) return;
  RodeoWork* w = Work();
  w->stepTimer += 1.0f;
  if (!(w->stepTimer > 120.0f)) return;
  klSoundPlay(rodeoScene.puSound, 0);
  w->stepTimer = 0;
  // The upper half of the lying rider, stretched upwards: the same bottom edge,
  // 40 pixels taller.
  const bool positive = rodeoScene.riderSprite->srcTop == kLiePositiveRect.top;
  rodeoScene.riderSprite->srcBottom = positive ? 490 : 666;
  rodeoScene.riderSprite->scaled = 1;
  rodeoScene.riderSprite->right = rodeoScene.riderSprite->x + 122;
  rodeoScene.riderSprite->bottom = rodeoScene.riderSprite->y + (positive ? 96 : 84);
  rodeoScene.riderSprite->x = static_cast<int32_t>(rodeoState.riderX);
  rodeoScene.riderSprite->y = static_cast<int32_t>(rodeoState.riderY - 40.0f);
  GoTo(kShowResult);
}

void ShowResult() {
  if (HostStopped()) return;
  RodeoWork* w = Work();
  w->stepTimer += 1.0f;
  if (!(w->stepTimer > 120.0f)) return;
  char text[32];
  std::snprintf(text, sizeof text, "%7.3f", rodeoState.resultMs * 0.001);
  CMgHost* host = GetMgHost();
  host->ReportResult(text, static_cast<int>(rodeoState.resultMs));
  host->RequestState(kMgRequestReset);
  rodeoScene.coverSprite->visible = 1;
  GoTo(kWaitStart);
}

}  // namespace

const klStepFn RodeoTaskSteps[] = {WaitStart,    ReadySign,   Riding,    FallPositive,
                                   FallNegative, LieOnGround, ShowResult};

void CreateRodeoTask() {
  void* work = klTaskCreate(RodeoTaskSteps, kRodeoPriority, KL_RUN_MODE_ZERO, sizeof(RodeoWork));
  std::memset(work, 0, sizeof(RodeoWork));
}
