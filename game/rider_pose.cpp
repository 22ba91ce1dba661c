// The rider's pose on the cow and the rope of dots from the cow to the rider's hand.
#include <cmath>

#include "engine/kl_math.h"
#include "game/rodeo_state.h"
#include "game/rodeo_tasks.h"

int PoseRowForLean(int lean) {
  if (lean == 0) return 0;
  return lean > 0 ? lean + 1 : 5 - lean;
}

void UpdateRiderPose(int f) {
  RodeoState& st = rodeoState;
  const int c = PoseRowForLean(st.lean);
  const PoseRow& row = PoseTable[c];
  if (c == 0) {
    SetSource(rodeoScene.riderSprite, RodeoRect{kUprightPitch * f, 0, kUprightPitch * f + row.width, row.height});
  } else {
    SetSource(rodeoScene.riderSprite, RodeoRect{row.left, row.top, row.left + row.width, row.top + row.height});
  }
  // The pose's seat point sits on the cow's back, which tilts and rises with the pitch.
  st.riderX = 205 + (103 - row.width) / 2 - (row.seatX - row.left) + 2.3 * st.pitch;
  st.riderY = 195 + (120 - row.height) / 2 - (row.seatY - row.top) - 5.0 * std::fabs(st.pitch);
  rodeoScene.riderSprite->x = static_cast<int32_t>(st.riderX);
  rodeoScene.riderSprite->y = static_cast<int32_t>(st.riderY);
}

void UpdateRope() {
  const RodeoState& st = rodeoState;
  int p = static_cast<int>(4.0 - st.pitch);
  if (p < 0) p = 0;
  if (p > 8) p = 8;
  // The anchor stays at the cow's resting place even while the cow runs off.
  const int ax = AnchorTable[p].x + kCowHomeX;
  const int ay = AnchorTable[p].y + kCowHomeY;
  const int c = PoseRowForLean(st.lean);
  const int hx = static_cast<int>(HandTable[c].x + st.riderX - PoseTable[c].left);
  const int hy = static_cast<int>(HandTable[c].y + st.riderY - PoseTable[c].top);
  const int dx = hx - ax;
  const int dy = hy - ay;
  const float k = 1.0f / 30.0f;
  // Dot i of 30 at i/30 of the way, sagging by up to 2 pixels in the middle; the
  // rope stops one step short of the hand.
  for (int i = 0; i < kRopeDots; ++i) {
    klSprite* dot = rodeoScene.ropeDots[i];
    const float sag = 2 * klSin(static_cast<float>(i * k * 3.14159265358979));
    dot->x = static_cast<int32_t>(dx * i * k + ax);
    dot->y = static_cast<int32_t>(dy * i * k + ay + sag);
    dot->visible = 1;
  }
}
