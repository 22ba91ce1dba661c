#include "shell/mg_app.h"

#include <mmsystem.h>

#include "core/kl_core.h"
#include "core/win32/wide_text.h"
#include "shell/frame_state.h"
#include "shell/mg_frame.h"

constexpr char CMgApp::kRegistryKey[];

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
  if (!frame->GetModule()->Tick(1)) {
    ticking_ = false;  // the frame is not touched again
    frame->DestroyWindow();
  }
}

int CMgApp::Run() {
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
    // Message phase: spins (never waiting) until a message that restarts idling.
    for (;;) {
      TickCheck();
      bool restartIdle = false;
      while (PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!PumpMessage()) return ExitInstance();
        restartIdle = IsIdleMessage(GetLastMessage());
      }
      if (restartIdle) break;
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
