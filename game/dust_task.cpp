// DustTask: one dust cloud per buck, four frames drifting right and up, then gone.
#include "engine/kl_task.h"
#include "game/rodeo_state.h"
#include "game/rodeo_tasks.h"

namespace {

void DustStep() {
  DustWork* w = static_cast<DustWork*>(klCurTaskWork);
  w->dustTime += 0.3;
  const int n = static_cast<int>(w->dustTime);
  if (n > 3) {
    klSpriteFree(w->dustSprite);
    ++*klCurTaskStep;  // the task removes itself on the next step
    return;
  }
  klSprite* s = w->dustSprite;
  s->srcLeft = kDustPitch * n;
  s->srcRight = kDustPitch * n + 76;
  s->x = w->dustX;
  s->y = w->dustY;
  w->dustX = static_cast<int32_t>(w->dustX + 10.0 * rodeoState.speed);
  w->dustY = static_cast<int32_t>(w->dustY - 2.5 * rodeoState.speed);
}

}  // namespace

const klStepFn DustTaskSteps[] = {DustStep, klTaskDeleteSelf};

void SpawnDust(int x, int y) {
  DustWork* w = static_cast<DustWork*>(klTaskCreate(DustTaskSteps, kCompanionPriority, KL_RUN_MODE_ZERO, sizeof(DustWork)));
  w->dustX = x;
  w->dustY = y;
  w->dustTime = 0;
  w->dustSprite = MakeSprite(kDustPriority, rodeoScene.partsSheet, kDustRect, x, y, true);
}
