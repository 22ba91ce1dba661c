#include "shell/frame_state.h"

namespace shell {

void FrameState::RequestState(int request, uint32_t now) {
  switch (request) {
    case kMgRequestStart:
      if (gameState != kMgIdle) return;
      gameState = kMgRunning;
      actions_.UpdateControls();
      actions_.EngineOnStart();
      playStartTick = now;
      return;
    case kMgRequestPauseToggle:
      if (gameState == kMgRunning) {
        gameState = kMgPaused;
        actions_.UpdateControls();
        actions_.EngineStop(true);
        pauseStartTick = now;
      } else if (gameState == kMgPaused) {
        gameState = kMgRunning;
        actions_.UpdateControls();
        actions_.EngineStop(false);
        playStartTick += now - pauseStartTick;  // the pause is not play time
      }
      return;
    case kMgRequestReset:
      if (gameState == kMgIdle) return;
      gameState = kMgIdle;
      actions_.UpdateControls();
      actions_.EngineResync();
      record_.totalPlayMs += now - playStartTick;  // a pause ended by the reset counts
      return;
    default:
      return;
  }
}

void FrameState::Reset(uint32_t now) {
  if (gameState == kMgPaused) actions_.EngineStop(false);
  RequestState(kMgRequestReset, now);
}

void FrameState::ToggleStopByKey(uint32_t now) {
  if (!actions_.IsStopEnabled()) return;
  actions_.FlipStopCheck();
  RequestState(kMgRequestPauseToggle, now);
}

void FrameState::SuspendForModal(uint32_t now) {
  if (!appActive) return;
  if (gameState == kMgIdle) {
    actions_.EngineStop(true);
    modalPaused = false;
    idleSuspended = true;
    return;
  }
  modalPaused = gameState == kMgRunning;
  if (modalPaused) ToggleStopByKey(now);
}

void FrameState::ResumeAfterModal(uint32_t now) {
  if (appActive) {
    if (modalPaused) {
      ToggleStopByKey(now);
    } else if (idleSuspended) {
      actions_.EngineStop(false);
      idleSuspended = false;
    }
    return;
  }
  // The program lost the activation meanwhile: a ride paused for the modal UI
  // resumes with the next activation, as if the deactivation had paused it.
  if (modalPaused) {
    modalPaused = false;
    autoPaused = true;
  }
  // An idle engine has nothing to keep paused, and nothing else would resume its
  // clock later: resume it now (ticking waits for the activation anyway).
  if (idleSuspended) {
    actions_.EngineStop(false);
    idleSuspended = false;
  }
}

void FrameState::OnActivateApp(bool active, uint32_t now) {
  if (!engineReady) return;
  appActive = active;
  if (active) {
    if (gameState == kMgPaused && autoPaused) {
      RequestState(kMgRequestPauseToggle, now);
      autoPaused = false;
    }
  } else if (gameState == kMgRunning) {
    RequestState(kMgRequestPauseToggle, now);
    autoPaused = true;
  }
}

void FrameState::OnViewPress(uint32_t now) {
  if (!engineReady) return;
  if (gameState == kMgIdle) {
    RequestState(kMgRequestStart, now);
    ++record_.totalClicks;
  } else if (gameState == kMgRunning) {
    ++record_.totalClicks;
  }
}

bool SystemCommandPauses(MgHostState gameState, unsigned command) {
  if (gameState == kMgPaused) return false;
  unsigned c = command & 0xFFF0u;
  return c == 0xF010u /* SC_MOVE */ || c == 0xF090u /* SC_MOUSEMENU */;
}

std::wstring HelpPathFor(const std::wstring& exePath) {
  constexpr size_t kPathChars = 260;  // with the terminator
  std::wstring path = exePath;
  size_t dot = path.rfind(L'.');
  if (dot != std::wstring::npos) path.erase(dot);
  path += L".html";
  if (path.size() + 1 > kPathChars) return std::wstring();
  return path;
}

uint32_t HandleToPageWord(uintptr_t handle) { return static_cast<uint32_t>(handle); }

uintptr_t HandleFromPageWord(uint32_t word) {
  return static_cast<uintptr_t>(static_cast<intptr_t>(static_cast<int32_t>(word)));
}

OuterSize FrameOuterSize(int viewWidth, int viewHeight, int windowWidth, int windowHeight,
                         int clientWidth, int clientHeight) {
  return {viewWidth + (windowWidth - clientWidth), viewHeight + kBarHeight + (windowHeight - clientHeight)};
}

}  // namespace shell
