#include "shell/mg_app.h"

#include <mmsystem.h>

#include "core/kl_core.h"
#include "core/win32/wide_text.h"
#include "engine/kl_clock.h"
#include "shell/frame_state.h"
#include "shell/loop_wait.h"
#include "shell/mg_frame.h"

constexpr char CMgApp::kRegistryKey[];

namespace {

// The system timer at 1 ms while held, so that a wait for the next step ends on
// time; released while the loop only waits for messages, and on leaving the loop.
class FineTimer {
 public:
  FineTimer() = default;
  FineTimer(const FineTimer&) = delete;
  FineTimer& operator=(const FineTimer&) = delete;
  ~FineTimer() { Hold(false); }

  void Hold(bool wanted) {
    if (wanted == held_) return;
    if (wanted) {
      held_ = timeBeginPeriod(1) == TIMERR_NOERROR;
    } else {
      timeEndPeriod(1);
      held_ = false;
    }
  }

 private:
  bool held_ = false;
};

bool BusyLoopFromEnvironment() {
  char value[8] = {};
  DWORD length = GetEnvironmentVariableA("RODEO_BUSY_LOOP", value, sizeof value);
  return length > 0 && length < sizeof value && shell::BusyLoopWanted(value);
}

}  // namespace

CMgFrame* CMgApp::Frame() const { return dynamic_cast<CMgFrame*>(mainWindow); }

bool CMgApp::InitInstance() {
  EnableControlLook();
  CMgFrame* frame = new CMgFrame;
  mainWindow = frame;
  // The profile's names, before anything reads or writes it.
  SetRegistryKey(kRegistryKey);
  SetProfileName(frame->GetDesc().title);
  // Hidden; the frame narrows the style and registers its own class.
  if (!frame->Create(nullptr, nullptr, WS_OVERLAPPEDWINDOW & ~static_cast<DWORD>(WS_VISIBLE))) {
    // A failed creation has ended the frame: it deleted itself (and, as the main
    // window, cleared mainWindow and posted the quit). Not to be touched again.
    mainWindow = nullptr;
    return false;
  }
  if (!guard_.Acquire(WideFromUtf8(frame->GetDesc().code.c_str()), frame->GetSafeHwnd(), true)) return false;
  return frame->ShowAndLoad();
}

void CMgApp::TickCheck() {
  // After a fatal error the program is closing (the close is posted): no more ticks.
  if (!ticking_ || klFatalRaised()) return;
  CMgFrame* frame = Frame();
  if (!frame) return;
  DWORD now = timeGetTime();
  if (!shell::TickDue(now, lastTickTime_, static_cast<uint32_t>(frame->GetTickInterval()))) return;
  lastTickTime_ = timeGetTime();
  if (!frame->IsEngineReady() || !frame->IsAppActive()) return;
  if (!frame->TickEngine()) {
    ticking_ = false;  // the frame is not touched again
    frame->DestroyWindow();
  }
}

uint32_t CMgApp::RestMs() const {
  CMgFrame* frame = Frame();
  shell::LoopClock clock{};
  clock.canTick = ticking_ && !klFatalRaised() && frame && frame->IsEngineReady() && frame->IsAppActive();
  if (!clock.canTick) return shell::LoopRestMs(clock);
  clock.now = timeGetTime();
  clock.lastTickTime = lastTickTime_;
  clock.tickInterval = static_cast<uint32_t>(frame->GetTickInterval());
  // The module is the engine: its frame clock says when the next step is due.
  clock.nextStepTime = klClock.nextStepTime;
  clock.stepMs = static_cast<uint32_t>(klClock.stepMs);
  return shell::LoopRestMs(clock);
}

int CMgApp::Run() {
  const bool busy = BusyLoopFromEnvironment();
  FineTimer fineTimer;
  long idleCount = 0;
  lastTickTime_ = timeGetTime();
  MSG peek;
  for (;;) {
    // Idle phase: the tick check and one idle pass per turn, until a message
    // arrives or the passes are done.
    while (!PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
      TickCheck();
      if (!OnIdle(idleCount++)) break;
    }
    // Message phase: turns until a message that restarts idling.
    for (;;) {
      TickCheck();
      bool restartIdle = false;
      while (PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!PumpMessage()) return ExitInstance();
        restartIdle = IsIdleMessage(GetLastMessage());
      }
      if (restartIdle) break;
      if (busy) continue;
      // Nothing waits: rest until a message comes or the next tick can run a step.
      // MWMO_INPUTAVAILABLE also wakes for messages the peeks above have seen.
      uint32_t rest = RestMs();
      if (rest == 0) continue;
      fineTimer.Hold(rest != shell::kRestUntilMessage);
      MsgWaitForMultipleObjectsEx(0, nullptr, rest == shell::kRestUntilMessage ? INFINITE : rest, QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE);
    }
    idleCount = 0;
  }
}

bool CMgApp::OnIdle(long count) {
  if (CWinApp::OnIdle(count) || count != 2) return true;
  // Pass 2: keys go to the view when nothing of ours has the focus.
  CMgFrame* frame = Frame();
  if (frame && frame->GetSafeHwnd() && !GetFocus()) SetFocus(frame->GetViewHandle());
  return false;
}
