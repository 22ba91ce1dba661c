// BackdropTask and CursorTask: the panels' wrap and placement, the tempo, the cursor.
#include "tests/game/rodeo_fixture.h"

namespace {

using Backdrop = RodeoFixture;

TEST_F(Backdrop, PanelsWrapAndJoinWithoutASeam) {
  struct Case {
    float scrollX, scrollY;
    int x[3];  // of panels 0, 1, 2
    int y;
    float wrapped;
  };
  const Case cases[] = {
      {0, 0, {0, 400, 800}, -50, 0},
      {1199.5f, 0, {1, 401, -399}, -50, 1199.5f},  // first panel 2 at -399
      {-0.5f, 0, {1, 401, -399}, -50, 1199.5f},
      {1200, 0, {0, 400, 800}, -50, 0},
      {400, 25, {800, 0, 400}, -25, 400},
      {799.9f, 50, {401, -399, 1}, 0, 799.9f},
      {100, 60, {-100, 300, 700}, 0, 100},   // lift at most 50
      {100, -5, {-100, 300, 700}, -50, 100},
      {2500, 0, {-100, 300, 700}, -50, 100},   // more than one strip in one step
      {-5000, 0, {200, 600, -200}, -50, 1000},
  };
  klTask* task = FindTask(BackdropTaskSteps);
  const BackdropWork& w = *static_cast<BackdropWork*>(task->work);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scrollX);
    rodeoState.scrollX = c.scrollX;
    rodeoState.scrollY = c.scrollY;
    RunStepOf(BackdropTaskSteps);
    EXPECT_FLOAT_EQ(rodeoState.scrollX, c.wrapped);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(w.panels[i]->x, c.x[i]) << "panel " << i;
      EXPECT_EQ(w.panels[i]->y, c.y) << "panel " << i;
      EXPECT_EQ(w.panels[i]->srcTop, 350 * i);
    }
  }
}

TEST_F(Backdrop, TempoGrowsUntilTheFall) {
  rodeoState.speed = 0.5f;
  RunStepOf(BackdropTaskSteps);
  EXPECT_FLOAT_EQ(rodeoState.speed, 0.5003f);
  rodeoState.fallen = 1;
  RunStepOf(BackdropTaskSteps);
  EXPECT_FLOAT_EQ(rodeoState.speed, 0.5003f);
}

TEST_F(Backdrop, CursorFollowsTheMouseWhileTheSystemCursorIsHidden) {
  struct Case {
    bool inside, leftDown, rightDown;
    bool visible;
    Rect source;
  };
  const Case cases[] = {
      {true, false, false, true, {0, 483, 16, 499}},
      {true, true, false, true, {17, 483, 33, 499}},
      {true, false, true, true, {17, 483, 33, 499}},
      {false, false, false, false, {0, 483, 16, 499}},
  };
  klSprite* cursor = WorkOf<CursorWork>(CursorTaskSteps).cursorSprite;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.inside << c.leftDown << c.rightDown);
    sys.cursor = c.inside ? KlPoint{50, 60} : KlPoint{-100, -100};
    klFilterMessage(host.view, KL_WM_MOUSEMOVE, 0, (60 << 16) | 50);
    klFilterMessage(host.view, c.leftDown ? KL_WM_LBUTTONDOWN : KL_WM_LBUTTONUP, 0, 0);
    klFilterMessage(host.view, c.rightDown ? KL_WM_RBUTTONDOWN : KL_WM_RBUTTONUP, 0, 0);
    Step();
    EXPECT_EQ(cursor->visible != 0, c.visible);
    EXPECT_EQ(SourceOf(cursor), c.source);
    EXPECT_EQ(cursor->x, 50);
    EXPECT_EQ(cursor->y, 60);
  }
}

}  // namespace
