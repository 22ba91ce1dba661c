#include "engine/kl_clock.h"

#include "engine/kl_engine.h"
#include "engine/kl_input.h"
#include "engine/kl_math.h"
#include "engine/kl_sprite.h"
#include "core/kl_system.h"
#include "engine/kl_task.h"
#include "media/kl_media.h"

klFrameClock klClock;
int klShutDown = 0;

bool klEngineLive() { return !klShutDown && !klFatalRaised(); }

namespace {

const klStepFn kBootTable[] = {BootStep, EmptyStep};

// klError's close: the host posts it, so it happens once the failing call is over.
void CloseAfterError() {
  if (CMgHost* host = GetMgHost()) host->Quit(nullptr);
}

void ClearEdges() {
  klInput.leftPressed = klInput.rightPressed = 0;
  klInput.leftReleased = klInput.rightReleased = 0;
}

// Hides the system cursor over the view and shows it elsewhere, keeping the
// ShowCursor calls paired. Returns false when a paint tick must end early.
bool UpdateCursor(int active) {
  KlSystem* sys = klSystem();
  KlPoint p = sys->CursorPos();
  sys->SetCursorPos(p);
  KlPoint origin = sys->ClientOrigin(klEngineWindow);
  bool inside = origin.x <= p.x && p.x <= origin.x + KL_VIEW_WIDTH && origin.y <= p.y &&
                p.y <= origin.y + KL_VIEW_HEIGHT;
  if (!inside && !cursorShown) {
    sys->ShowCursor(true);
    cursorShown = 1;
  } else if (inside && cursorShown) {
    if (!active) return false;
    if (!stopped) {
      sys->ShowCursor(false);
      cursorShown = 0;
    }
  }
  return true;
}

// Re-creates the display 1.5 s after it was lost and reloads every picture. A
// failure on the way is fatal and ends the recovery where it happened.
void RecoverDisplay() {
  if (!displayLost || static_cast<int32_t>(klSystem()->Time() - (displayLostTime + 1500u)) <= 0) return;
  displayLost = 0;
  klDrawRelease();
  klDrawInit(KL_VIEW_WIDTH, KL_VIEW_HEIGHT, 8);
  if (klFatalRaised()) return;
  klTrace("dc %dbit\n", colourDepth);
  for (int slot = 0; slot < KL_OBJECT_SLOTS && !klFatalRaised(); ++slot) klDrawReloadObject(slot);
  if (!klFatalRaised()) klDrawRestorePalette();
}

}  // namespace

void klClockInit() {
  uint32_t now = klSystem()->Time();
  klClock = klFrameClock{16, now, 0, 0, now, 60};
}

int klEngineInit() {
  klShutDown = 0;
  klFatalReset();
  klSetFatalClose(CloseAfterError);
  klEngineWindow = GetMgHost()->GetViewWindow();
  if (!klDrawInit(KL_VIEW_WIDTH, KL_VIEW_HEIGHT, 8)) {
    klDrawRelease();
    klSystem()->DestroyWindow(klEngineWindow);
    return 1;
  }
  klSoundInit();
  // The task list is always made, so a later Shutdown and the task calls find it.
  klTaskInit();
  // Out of memory for the list's head: the error has posted the close; nothing
  // more is set up, and the host's ticks find the engine closing.
  if (!klSpriteInit()) return 0;
  klTaskSetHeadTable(kBootTable);
  klSinInit();
  klClockInit();
  klSystem()->ShowCursor(false);
  cursorShown = 0;
  return 0;
}

int klEngineShutdown() {
  klDrawRelease();
  klSoundRelease();
  klSpriteRelease();
  klShutDown = 1;
  return 1;
}

int klEngineTick(int active) {
  if (!klEngineLive()) return 1;
  KlSystem* sys = klSystem();
  if (!UpdateCursor(active) || !active) {
    // Painting, dragging or being covered never makes the game catch up later.
    klClock.nextStepTime = sys->Time();
    return 1;
  }
  RecoverDisplay();
  if (klFatalRaised()) return 1;
  const uint32_t now = sys->Time();
  // Unsigned differences keep the comparisons right across the clock's wrap.
  if (static_cast<int32_t>(now - klClock.nextStepTime) >= 0) {
    klClock.nextStepTime += klClock.stepMs;
    while (static_cast<int32_t>(now - klClock.nextStepTime) >= 0) {
      klTaskRunAll();
      if (klFatalRaised()) return 1;
      ClearEdges();
      klClock.nextStepTime += klClock.stepMs;
      ++klClock.catchUpCount;
    }
    klTaskRunAll();
    if (klFatalRaised()) return 1;
    ClearEdges();
    klSpriteDrawAll();
    klDrawFlip();
    klClock.catchUpCount = 0;
    ++klClock.framesCounted;
  }
  if (static_cast<int32_t>(now - klClock.nextSampleTime) >= 0) {
    klClock.fps = klClock.framesCounted;
    klClock.nextSampleTime = now + 1000;
    klClock.framesCounted = 0;
  }
  return 1;
}

void klEngineStop(int stop) {
  if (!klEngineLive() || stop == stopped) return;
  KlSystem* sys = klSystem();
  if (stop) {
    stopTicks = sys->TickCount();
    ++stopCount;
  } else {
    stopTicks = sys->TickCount() - stopTicks;
  }
  klClock.nextStepTime = sys->Time();
  if (!cursorShown) {
    sys->ShowCursor(true);
    cursorShown = 1;
  }
  // One step outside the clock, so the pause picture is current; edges stay set.
  klTaskRunAll();
  if (klFatalRaised()) return;
  klSpriteDrawAll();
  klDrawFlip();
  stopped = stop;
  klTrace("Stop%d\n", stop);
}

void klEngineResync() { klClock.nextStepTime = klSystem()->Time(); }
