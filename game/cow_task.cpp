// CowTask: the cow stands, rears and kicks; the top of each buck pushes the
// rider's balance further out. After the fall the cow runs off to the left.
#include <cstring>

#include "engine/kl_math.h"
#include "core/kl_system.h"
#include "game/rodeo_state.h"
#include "game/rodeo_tasks.h"
#include "media/kl_media.h"

namespace {

constexpr float kPitchLimit = 3.75f;
constexpr float kPitchTop = 3.5f;
constexpr uint32_t kCallGapMs = 1000;
constexpr uint32_t kSnortAfterMs = 15000;

CowWork* Work() { return static_cast<CowWork*>(klCurTaskWork); }
void GoTo(CowStep step) { *klCurTaskStep = step; }

void CutCowFrame(klSprite* cow, int frame) {
  cow->srcLeft = 0;
  cow->srcTop = kCowFramePitch * frame;
  cow->srcRight = kCowFrameWidth;
  cow->srcBottom = kCowFramePitch * frame + kCowFrameHeight;
}

// The top of a buck moves the rider further the way it already leans.
void PushBalance(int fromUpright) {
  int16_t& lean = rodeoState.lean;
  if (lean == 0) lean = static_cast<int16_t>(fromUpright);
  else if (lean > 0) ++lean;
  else --lean;
}

// The cow's call, at most once a second. "Not before nextCallTime" is tested on
// the difference, so the call keeps working across the clock's wrap.
void Call(CowWork* w) {
  KlSystem* sys = klSystem();
  if (w->nextCallTime - sys->Time() <= kCallGapMs) return;
  klSoundPlay(rodeoScene.cowSound, 0);
  w->nextCallTime = sys->Time() + kCallGapMs;
}

void Stand() {
  CowWork* w = Work();
  RodeoState& st = rodeoState;
  ++w->frameCounter;
  if (20 - 20 * st.speed < w->frameCounter) {
    w->frameCounter = 0;
    w->cowFrame ^= 1;
  }
  CutCowFrame(w->cowSprite, w->cowFrame);
  if (!st.fallen) {
    st.scrollX -= 5.0 * st.speed;
    w->runOff = 0;
  } else {
    w->runOff += 2.5 * 3.0 * st.speed;
    if (w->runOff > 400.0f) w->runOff = 400.0f;
  }
  st.scrollY = 0;
  w->cowSprite->x = static_cast<int32_t>(kCowHomeX - w->runOff);
  w->cowSprite->y = kCowHomeY;

  // The snort puffs only once a ride has lasted 15 seconds, and move with the cow.
  klSprite* snort = w->snortSprite;
  snort->srcLeft = kSnortPitch * w->cowFrame;
  snort->srcTop = kSnortRect.top;
  snort->srcRight = kSnortPitch * w->cowFrame + 47;
  snort->srcBottom = kSnortRect.bottom;
  snort->visible = st.elapsedMs < kSnortAfterMs ? 0 : 1;
  snort->x = static_cast<int32_t>(99.0 - w->runOff - 6 * w->cowFrame);
  snort->y = 266 - 3 * w->cowFrame;

  st.pitch = 0;
  if (!st.rideStarted || st.fallen) return;
  ++w->buckCounter;
  int limit = static_cast<int>(40.0 - 80.0 * st.speed);
  if (limit < 1) limit = 1;
  if (w->buckCounter <= limit) return;
  snort->visible = 0;
  w->buckCounter = 0;
  if (klRand(0, 1) == 1) {
    SpawnDust(100, 240);
    GoTo(kRear);
  } else {
    SpawnDust(220, 240);
    GoTo(kKick);
  }
  Call(w);
}

// Shared by the rearing pair: level h frames, the backdrop pushed and lifted.
void ShowRear(CowWork* w) {
  RodeoState& st = rodeoState;
  CutCowFrame(w->cowSprite, kCowRearFrame + static_cast<int>(st.pitch));
  st.scrollX -= (4.0 - st.pitch) * st.speed * 1.25;
  st.scrollY = st.speed * st.pitch * 4.0;
}

void ShowKick(CowWork* w) {
  RodeoState& st = rodeoState;
  CutCowFrame(w->cowSprite, kCowKickFrame + static_cast<int>(-st.pitch));
  st.scrollX -= (st.pitch + 4.0) * st.speed * 1.25;
  st.scrollY = -st.pitch * st.speed * 4.0;
}

// A buck under way when the round is stopped ends at once; one under way at
// the fall runs to its end.
bool RoundStopped() {
  if (rodeoState.rideStarted) return false;
  GoTo(kStand);
  return true;
}

void Rear() {
  if (RoundStopped()) return;
  RodeoState& st = rodeoState;
  st.pitch += st.speed;
  if (st.pitch >= kPitchLimit) st.pitch = kPitchLimit;
  ShowRear(Work());
  if (st.pitch >= kPitchTop) {
    PushBalance(1);
    GoTo(kRearDown);
  }
}

void RearDown() {
  if (RoundStopped()) return;
  RodeoState& st = rodeoState;
  st.pitch -= st.speed;
  if (st.pitch <= 0) st.pitch = 0;
  ShowRear(Work());
  if (st.pitch <= 0) GoTo(kStand);
}

void Kick() {
  if (RoundStopped()) return;
  RodeoState& st = rodeoState;
  st.pitch -= st.speed;
  if (st.pitch <= -kPitchLimit) st.pitch = -kPitchLimit;
  ShowKick(Work());
  if (st.pitch <= -kPitchTop) {
    PushBalance(-1);
    GoTo(kKickDown);
  }
}

void KickDown() {
  if (RoundStopped()) return;
  RodeoState& st = rodeoState;
  st.pitch += st.speed;
  if (st.pitch >= 0) st.pitch = 0;
  ShowKick(Work());
  if (st.pitch >= 0) GoTo(kStand);
}

}  // namespace

const klStepFn CowTaskSteps[] = {Stand, Rear, RearDown, Kick, KickDown};

void CreateCowTask() {
  CowWork* w = static_cast<CowWork*>(klTaskCreate(CowTaskSteps, kCompanionPriority, KL_RUN_MODE_ZERO, sizeof(CowWork)));
  std::memset(w, 0, sizeof(CowWork));
  w->cowSprite = MakeSprite(kCowPriority, rodeoScene.cowSheet, RodeoRect{0, 0, kCowFrameWidth, kCowFrameHeight},
                            kCowHomeX, kCowHomeY, true);
  w->snortSprite = MakeSprite(kSnortPriority, rodeoScene.partsSheet, kSnortRect, 99, 266, true);
}
