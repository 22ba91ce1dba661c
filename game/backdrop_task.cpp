// BackdropTask: the three backdrop panels scroll as one seamless 1200-pixel strip
// and rise with the cow's bucks; it also updates the time digits and raises the
// game's tempo.
#include <cmath>

#include "engine/kl_task.h"
#include "game/rodeo_state.h"
#include "game/rodeo_tasks.h"

namespace {

void BackdropStep() {
  BackdropWork* w = static_cast<BackdropWork*>(klCurTaskWork);
  RodeoState& st = rodeoState;
  // The tempo grows without limit while nobody rides, so one step can scroll
  // further than the strip is long: fold the remainder first, then the usual
  // single wrap (which also catches a sum that rounds up to 1200).
  if (st.scrollX <= -kBackdropWidth || st.scrollX >= 2 * kBackdropWidth) {
    st.scrollX = std::fmod(st.scrollX, static_cast<float>(kBackdropWidth));
  }
  if (st.scrollX < 0) st.scrollX += kBackdropWidth;
  if (st.scrollX >= kBackdropWidth) st.scrollX -= kBackdropWidth;
  if (st.scrollY < 0) st.scrollY = 0;
  if (st.scrollY > 50) st.scrollY = 50;

  const int x0 = static_cast<int>(-st.scrollX) % kPanelWidth;  // -399..0
  const int first = static_cast<int>(st.scrollX * 0.0025f);
  const int y = static_cast<int>(st.scrollY - 50.0);
  for (int k = 0; k < 3; ++k) {
    klSprite* panel = w->panels[(first + k) % 3];
    panel->x = x0 + kPanelWidth * k;
    panel->y = y;
  }
  ShowTime();
  if (!st.fallen) st.speed += 0.0003;
}

}  // namespace

const klStepFn BackdropTaskSteps[] = {BackdropStep};

void CreateBackdropTask() {
  BackdropWork* w =
      static_cast<BackdropWork*>(klTaskCreate(BackdropTaskSteps, kCompanionPriority, KL_RUN_MODE_ZERO, sizeof(BackdropWork)));
  for (int i = 0; i < 3; ++i) {
    w->panels[i] = MakeSprite(kBackdropPriority, rodeoScene.bgSheet,
                              RodeoRect{0, kPanelHeight * i, kPanelWidth, kPanelHeight * i + kPanelHeight},
                              0, -25, true);
  }
}
