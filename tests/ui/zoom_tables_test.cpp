// The start-up zoom's canvas, outline and rectangle tables, and its pacing.
#include "ui/zoom_tables.h"

#include <gtest/gtest.h>

#include <vector>

// Found by argument lookup, so beside the types, in the global namespace.
static bool operator==(const ZoomPoint& a, const ZoomPoint& b) { return a.x == b.x && a.y == b.y; }
static bool operator==(const ZoomRect& a, const ZoomRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
static std::ostream& operator<<(std::ostream& os, const ZoomPoint& p) { return os << "(" << p.x << ", " << p.y << ")"; }
static std::ostream& operator<<(std::ostream& os, const ZoomRect& r) {
  return os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

// A 400 x 300 target somewhere on the screen.
const ZoomRect kTarget = {312, 234, 712, 534};

TEST(ZoomTables, CanvasAroundA400By300Target) {
  ZoomGeometry g = ComputeZoomGeometry(kTarget);
  EXPECT_EQ(g.a, 600);
  EXPECT_EQ(g.b, 450);
  EXPECT_EQ(g.size, 600);
  EXPECT_EQ(g.canvasX, 212);  // 100 pixels left of the target
  EXPECT_EQ(g.canvasY, 84);   // 150 above
  EXPECT_EQ(g.target, (ZoomRect{100, 150, 500, 450}));
  // Upright, the height decides the square.
  ZoomGeometry tall = ComputeZoomGeometry({0, 0, 301, 401});
  EXPECT_EQ(tall.size, 601);
  EXPECT_EQ(tall.target, (ZoomRect{150, 100, 451, 501}));
  EXPECT_EQ(tall.canvasX, -150);
}

TEST(ZoomTables, OutlinesForA400By300TargetHaveTheKnownCorners) {
  ZoomOutlineTable outlines = BuildZoomOutlines(ComputeZoomGeometry(kTarget));
  EXPECT_EQ(outlines[0], (ZoomOutline{{{60, 164}, {539, 164}, {539, 435}, {60, 435}}}));
  EXPECT_EQ(outlines[1], (ZoomOutline{{{103, 136}, {563, 203}, {496, 463}, {36, 396}}}));
  // They close in on the centre and stay on the canvas.
  for (const ZoomOutline& outline : outlines) {
    for (const ZoomPoint& p : outline) {
      EXPECT_GE(p.x, 0);
      EXPECT_LT(p.x, 600);
      EXPECT_GE(p.y, 0);
      EXPECT_LT(p.y, 600);
    }
  }
  for (const ZoomPoint& p : outlines[44]) {
    EXPECT_NEAR(p.x, 300, 8) << p;
    EXPECT_NEAR(p.y, 300, 6) << p;
  }
}

TEST(ZoomTables, RectanglesGrowFromTheCentreToTheTarget) {
  ZoomGeometry g = ComputeZoomGeometry(kTarget);
  ZoomRectTable rects = BuildZoomRects(g);
  EXPECT_EQ(rects[0], (ZoomRect{293, 295, 305, 304}));
  EXPECT_EQ(rects[15], (ZoomRect{200, 225, 400, 375}));
  EXPECT_EQ(rects[31], g.target);
  for (int k = 1; k < kZoomRectCount; ++k) {
    EXPECT_LE(rects[k].left, rects[k - 1].left) << k;
    EXPECT_GE(rects[k].right, rects[k - 1].right) << k;
    EXPECT_GE(rects[k].left, g.target.left) << k;
    EXPECT_LE(rects[k].bottom, g.target.bottom) << k;
  }
}

TEST(ZoomTables, DegenerateTargetsGiveFiniteTables) {
  for (ZoomRect target : {ZoomRect{10, 10, 10, 10}, ZoomRect{0, 0, 1, 300}, ZoomRect{0, 0, 300, 0}}) {
    ZoomGeometry g = ComputeZoomGeometry(target);
    for (const ZoomOutline& outline : BuildZoomOutlines(g))
      for (const ZoomPoint& p : outline) EXPECT_TRUE(p.x >= 0 && p.x <= g.size && p.y >= 0 && p.y <= g.size) << p;
    EXPECT_EQ(BuildZoomRects(g)[31], g.target);
  }
}

TEST(ZoomTables, StepDurations) {
  std::vector<int> first;
  int total = 0;
  for (int i = 0; i < kZoomRectSteps; ++i) {
    if (i < 8) first.push_back(ZoomRectStepMs(i));
    total += ZoomRectStepMs(i);
  }
  EXPECT_EQ(first, (std::vector<int>{22, 21, 21, 20, 19, 19, 18, 17}));
  EXPECT_EQ(total, 157 + 32 * 5);
}

// Drawn twice with XOR, every item is gone at the end and never more are shown at once.
TEST(ZoomTables, EveryItemIsDrawnThenErasedOnce) {
  struct Phase {
    int steps, items, shown;
  } phases[] = {{kZoomOutlineSteps, kZoomOutlineCount, kZoomOutlinesShown},
                {kZoomRectSteps, kZoomRectCount, kZoomRectsShown}};
  for (const Phase& phase : phases) {
    std::vector<int> drawn(phase.items, 0);
    int visible = 0, most = 0;
    for (int s = 0; s < phase.steps; ++s) {
      ZoomStepDraws d = ZoomStep(s, phase.items, phase.shown);
      if (d.erase >= 0) ++drawn[d.erase], --visible;
      if (d.draw >= 0) ++drawn[d.draw], ++visible;
      most = std::max(most, visible);
    }
    EXPECT_EQ(visible, 0);
    EXPECT_EQ(most, phase.shown);
    for (int count : drawn) EXPECT_EQ(count, 2);
  }
  EXPECT_EQ(ZoomStep(56, kZoomOutlineCount, kZoomOutlinesShown).erase, 44);
  EXPECT_EQ(ZoomStep(39, kZoomRectCount, kZoomRectsShown).erase, 31);
}

}  // namespace
