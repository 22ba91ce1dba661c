#include <string>

#include "engine/kl_sprite.h"
#include "media/kl_media.h"
#include "support/engine_fixture.h"

namespace {

int stepRuns = 0;
klInputState seenInput;
void CountStep() {
  ++stepRuns;
  seenInput = klInput;
}
const klStepFn kCountTable[] = {CountStep};

class FrameClock : public EngineFixture {
 protected:
  uint32_t due = 0;
  void SetUp() override {
    EngineFixture::SetUp();
    DeleteAllTasks();
    klTaskInit();
    klTaskCreate(kCountTable, 100, 1, 0);
    stepRuns = 0;
    due = klClock.nextStepTime;
  }
  void Message(uint32_t message, intptr_t lParam = 0) {
    MSG msg{};
    msg.hwnd = host.view;
    msg.message = message;
    msg.lParam = lParam;
    game->FilterMessage(&msg);
  }
};

TEST_F(FrameClock, RunsTheStepsTheClockDemandsAndDrawsOnce) {
  struct Case {
    int32_t late;  // clock minus the due time at the tick
    int steps;
    int draws;
    uint32_t nextDue;  // relative to the due time
  };
  const Case cases[] = {
      {-1, 0, 0, 0},  {0, 1, 1, 16},  {15, 1, 1, 16},
      {16, 2, 1, 32}, {40, 3, 1, 48}, {1600, 101, 1, 1616},
  };
  for (const Case& c : cases) {
    klClock.nextStepTime = due;
    stepRuns = 0;
    headlessMediaLog().flips = 0;
    TickAt(due + c.late);
    EXPECT_EQ(stepRuns, c.steps) << "late " << c.late;
    EXPECT_EQ(headlessMediaLog().flips, c.draws) << "late " << c.late;
    EXPECT_EQ(klClock.nextStepTime, due + c.nextDue) << "late " << c.late;
    EXPECT_EQ(klClock.catchUpCount, 0);
  }
}

TEST_F(FrameClock, KeepsStepsAcrossTheClockWrap) {
  klClock.nextStepTime = 0xFFFFFFF8u;
  TickAt(0xFFFFFFF0u);
  EXPECT_EQ(stepRuns, 0);
  TickAt(8);  // 16 ms after the due time, past the wrap
  EXPECT_EQ(stepRuns, 2);
  EXPECT_EQ(klClock.nextStepTime, 0x18u);
}

TEST_F(FrameClock, PaintTicksRunNothingAndForgiveTheTimeSpent) {
  TickAt(due + 500, 0);
  EXPECT_EQ(stepRuns, 0);
  EXPECT_EQ(klClock.nextStepTime, due + 500);
}

TEST_F(FrameClock, SamplesTheFrameRateOnceASecond) {
  klClock.nextSampleTime = due + 1000;
  klClock.framesCounted = 0;
  for (uint32_t t = due; t < due + 1000; t += 16) TickAt(t);
  TickAt(due + 1000);
  EXPECT_EQ(klClock.fps, 63);
  EXPECT_EQ(klClock.nextSampleTime, due + 2000);
}

TEST_F(FrameClock, EdgesReachOneStepAndAreClearedAfterIt) {
  Message(KL_WM_LBUTTONDOWN);
  Message(KL_WM_LBUTTONUP);
  Message(KL_WM_RBUTTONDBLCLK);
  Message(KL_WM_MOUSEMOVE, (static_cast<intptr_t>(static_cast<uint16_t>(-3)) << 16) | 250);
  TickAt(due + 32);  // three steps: only the first sees the edges
  EXPECT_EQ(stepRuns, 3);
  EXPECT_EQ(seenInput.leftPressed, 0);
  Message(KL_WM_LBUTTONDOWN);
  Message(KL_WM_LBUTTONUP);
  Message(KL_WM_RBUTTONDBLCLK);
  TickAt(due + 48);
  EXPECT_EQ(seenInput.leftPressed, 1);
  EXPECT_EQ(seenInput.leftReleased, 1);
  EXPECT_EQ(seenInput.leftHeld, 0);
  EXPECT_EQ(seenInput.rightPressed, 1);
  EXPECT_EQ(seenInput.rightHeld, 1);
  EXPECT_EQ(seenInput.mouseX, 250);
  EXPECT_EQ(seenInput.mouseY, -3);
  EXPECT_EQ(klInput.leftPressed + klInput.leftReleased + klInput.rightPressed, 0);
  EXPECT_EQ(klInput.rightHeld, 1);
}

// Every button message from two starting states: nothing set, and everything set.
// A down (or a double-click) holds and presses the button and forgets an earlier
// release; an up releases it and keeps the press for the step; the other button
// never changes.
TEST_F(FrameClock, ButtonMessagesSetTheirButtonsFlags) {
  struct Case {
    uint32_t message;
    const char* name;
    bool left;               // whose flags the message sets
    int32_t held, pressed, released;  // of that button, from all-clear
    int32_t pressedFromSet;           // of that button, from all-set
  };
  const Case cases[] = {
      {KL_WM_LBUTTONDOWN, "left down", true, 1, 1, 0, 1},
      {KL_WM_LBUTTONUP, "left up", true, 0, 0, 1, 1},
      {KL_WM_LBUTTONDBLCLK, "left double-click", true, 1, 1, 0, 1},
      {KL_WM_RBUTTONDOWN, "right down", false, 1, 1, 0, 1},
      {KL_WM_RBUTTONUP, "right up", false, 0, 0, 1, 1},
      {KL_WM_RBUTTONDBLCLK, "right double-click", false, 1, 1, 0, 1},
  };
  for (const Case& c : cases) {
    for (int32_t before : {0, 1}) {
      SCOPED_TRACE(std::string(c.name) + (before ? ", from all set" : ", from all clear"));
      klInput = klInputState{7, 8, before, before, before, before, before, before};
      Message(c.message);
      const klInputState& in = klInput;
      int32_t held = c.left ? in.leftHeld : in.rightHeld;
      int32_t pressed = c.left ? in.leftPressed : in.rightPressed;
      int32_t released = c.left ? in.leftReleased : in.rightReleased;
      EXPECT_EQ(held, c.held);
      EXPECT_EQ(pressed, before ? c.pressedFromSet : c.pressed);
      EXPECT_EQ(released, c.released);
      // The other button and the position are untouched.
      EXPECT_EQ(c.left ? in.rightHeld : in.leftHeld, before);
      EXPECT_EQ(c.left ? in.rightPressed : in.leftPressed, before);
      EXPECT_EQ(c.left ? in.rightReleased : in.leftReleased, before);
      EXPECT_EQ(in.mouseX, 7);
      EXPECT_EQ(in.mouseY, 8);
    }
  }
}

TEST_F(FrameClock, CursorIsHiddenOnlyInsideTheViewWhileRunning) {
  struct Case {
    int x, y;
    int active;
    int stoppedState;
    int shownBefore;
    int shownAfter;
    int stepsRun;
  };
  // The view's client origin is at 50, 60; the inside spans 401 x 301 positions.
  const Case cases[] = {
      {49, 60, 1, 0, 0, 1, 1},   {50, 60, 1, 0, 1, 0, 1},  {450, 360, 1, 0, 1, 0, 1},
      {451, 60, 1, 0, 0, 1, 1},  {50, 361, 1, 0, 0, 1, 1}, {100, 100, 1, 1, 1, 1, 1},
      {100, 100, 0, 0, 1, 1, 0}, {100, 100, 1, 0, 0, 0, 1}, {0, 0, 1, 0, 1, 1, 1},
  };
  sys.origin = {50, 60};
  for (const Case& c : cases) {
    cursorShown = c.shownBefore;
    stopped = c.stoppedState;
    sys.cursor = {c.x, c.y};
    klClock.nextStepTime = due;
    stepRuns = 0;
    TickAt(due + 1, c.active);
    EXPECT_EQ(cursorShown, c.shownAfter) << c.x << "," << c.y;
    EXPECT_EQ(stepRuns, c.stepsRun) << c.x << "," << c.y;
  }
  stopped = 0;
}

klSprite* movedSprite = nullptr;
void MoveSprite() {
  if (movedSprite) movedSprite->x = 120;
}
const klStepFn kMoveTable[] = {MoveSprite};

TEST_F(FrameClock, StopRecordsThePauseAndRunsOneDrawnStepOutsideTheClock) {
  int slot = klLoadObject(RODEO_SOURCE_DIR "/assets/out/pack/parts.bmp");
  ASSERT_EQ(slot, 1);
  movedSprite = klSpriteAlloc(10);
  movedSprite->visible = 1;
  movedSprite->object = slot;
  movedSprite->srcRight = 60;
  movedSprite->srcBottom = 60;
  klTaskCreate(kMoveTable, 200, 1, 0);
  // Presses and releases the host's next tick has not seen yet.
  Message(KL_WM_LBUTTONDOWN);
  Message(KL_WM_LBUTTONUP);
  Message(KL_WM_RBUTTONDOWN);
  Message(KL_WM_RBUTTONUP);
  headlessMediaLog().blits.clear();
  headlessMediaLog().flips = 0;

  sys.tickCount = 7000;
  cursorShown = 0;
  game->Stop(1);
  EXPECT_EQ(stopTicks, 7000u);
  EXPECT_EQ(stopCount, 1u);
  EXPECT_EQ(cursorShown, 1);
  EXPECT_EQ(sys.showCalls, 1);
  // One step, which sees the edges; the sprites as that step left them; one flip.
  EXPECT_EQ(stepRuns, 1);
  EXPECT_EQ(seenInput.leftPressed + seenInput.leftReleased + seenInput.rightPressed +
                seenInput.rightReleased, 4);
  ASSERT_EQ(headlessMediaLog().blits.size(), 1u);
  EXPECT_EQ(headlessMediaLog().blits[0].x, 120);
  EXPECT_EQ(headlessMediaLog().flips, 1);
  // The flip came after the draw: the window shows the drawn sprite.
  const HeadlessPicture& shown = headlessFlippedPicture();
  EXPECT_EQ(shown.pixels, headlessBackPicture().pixels);
  int drawn = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 120; x < 180; ++x) drawn += shown.At(x, y) != 0;
  EXPECT_GT(drawn, 0);
  // The step outside the clock leaves the edges for the first step after the pause.
  EXPECT_EQ(klInput.leftPressed, 1);
  EXPECT_EQ(klInput.leftReleased, 1);
  EXPECT_EQ(klInput.rightPressed, 1);
  EXPECT_EQ(klInput.rightReleased, 1);

  sys.tickCount = 9000;
  game->Stop(1);  // already stopped: nothing changes
  EXPECT_EQ(stopTicks, 7000u);
  EXPECT_EQ(stepRuns, 1);
  EXPECT_EQ(headlessMediaLog().flips, 1);
  sys.tickCount = 9500;
  sys.time = due + 3000;
  game->Stop(0);
  EXPECT_EQ(stopTicks, 2500u);
  EXPECT_EQ(stopped, 0);
  EXPECT_EQ(stepRuns, 2);
  EXPECT_EQ(headlessMediaLog().flips, 2);
  EXPECT_EQ(klClock.nextStepTime, due + 3000);
  EXPECT_NE(sys.debugText.find("Stop1\nStop0\n"), std::string::npos);
  movedSprite = nullptr;
}

TEST_F(FrameClock, ResyncAndWindowMovesRestartTheClock) {
  sys.time = due + 900;
  game->Resync();
  EXPECT_EQ(klClock.nextStepTime, due + 900);
  sys.time = due + 1200;
  Message(KL_WM_MOVE);
  EXPECT_EQ(klClock.nextStepTime, due + 1200);
  EXPECT_EQ(klClock.nextSampleTime, due + 1200);
}

TEST_F(FrameClock, NothingHappensAfterShutdown) {
  game->Shutdown();
  EXPECT_EQ(game->Tick(1), 1);
  game->Stop(1);
  EXPECT_EQ(stepRuns, 0);
  EXPECT_EQ(stopped, 0);
}

TEST_F(FrameClock, DisplayIsRecreatedOnce1500MsAfterTheFirstLoss) {
  int slot = klLoadObject(RODEO_SOURCE_DIR "/assets/out/pack/parts.bmp");  // a real sheet: the stand-in reads it
  ASSERT_EQ(slot, 1);
  sys.time = due;
  Message(KL_WM_DISPLAYCHANGE);
  sys.time = due + 1000;
  Message(KL_WM_DISPLAYCHANGE);  // the second change keeps the first loss time
  headlessMediaLog().flips = 0;
  int initsBefore = headlessMediaLog().inits;
  TickAt(due + 1500);
  EXPECT_EQ(displayLost, 1);
  EXPECT_EQ(headlessMediaLog().flips, 0);  // steps run unseen
  TickAt(due + 1510);
  EXPECT_EQ(displayLost, 0);
  EXPECT_EQ(headlessMediaLog().inits, initsBefore + 1);
  EXPECT_EQ(headlessMediaLog().reloadedSlots, std::vector<int>{slot});
  EXPECT_NE(sys.debugText.find("dc 32bit\n"), std::string::npos);
  EXPECT_EQ(headlessMediaLog().flips, 1);
}

}  // namespace
