#include "shell/frame_state.h"

namespace shell {

void FrameState::RequestState(int request, uint32_t now) {
  switch (request) {
    case kRequestStart:
      if (gameState != kIdle) return;
      gameState = kRunning;
      actions_.UpdateControls();
      actions_.EngineOnStart();
      playStartTick = now;
      return;
    case kRequestTogglePause:
      if (gameState == kRunning) {
        gameState = kPaused;
        actions_.UpdateControls();
        actions_.EngineStop(1);
        pauseStartTick = now;
      } else if (gameState == kPaused) {
        gameState = kRunning;
        actions_.UpdateControls();
        actions_.EngineStop(0);
        playStartTick += now - pauseStartTick;  // the pause is not play time
      }
      return;
    case kRequestReset:
      if (gameState == kIdle) return;
      gameState = kIdle;
      actions_.UpdateControls();
      actions_.EngineResync();
      record_.totalPlayMs += now - playStartTick;  // a pause ended by the reset counts
      return;
    default:
      return;
  }
}

void FrameState::Reset(uint32_t now) {
  if (gameState == kPaused) actions_.EngineStop(0);
  RequestState(kRequestReset, now);
}

void FrameState::ToggleStopByKey(uint32_t now) {
  if (!actions_.IsStopEnabled()) return;
  actions_.FlipStopCheck();
  RequestState(kRequestTogglePause, now);
}

void FrameState::SuspendForModal(uint32_t now) {
  if (!appActive) return;
  if (gameState == kIdle) {
    actions_.EngineStop(1);
    modalPaused = 0;
    idleSuspended = 1;
    return;
  }
  modalPaused = gameState == kRunning ? 1 : 0;
  if (modalPaused) ToggleStopByKey(now);
}

void FrameState::ResumeAfterModal(uint32_t now) {
  if (appActive) {
    if (modalPaused) {
      ToggleStopByKey(now);
    } else if (idleSuspended) {
      actions_.EngineStop(0);
      idleSuspended = 0;
    }
    return;
  }
  // The program lost the activation meanwhile: a ride paused for the modal UI
  // resumes with the next activation, as if the deactivation had paused it.
  if (modalPaused) {
    modalPaused = 0;
    autoPaused = 1;
  }
  // An idle engine has nothing to keep paused, and nothing else would resume its
  // clock later: resume it now (ticking waits for the activation anyway).
  if (idleSuspended) {
    actions_.EngineStop(0);
    idleSuspended = 0;
  }
}

void FrameState::OnActivateApp(bool active, uint32_t now) {
  if (!engineReady) return;
  appActive = active ? 1 : 0;
  if (active) {
    if (gameState == kPaused && autoPaused) {
      RequestState(kRequestTogglePause, now);
      autoPaused = 0;
    }
  } else if (gameState == kRunning) {
    RequestState(kRequestTogglePause, now);
    autoPaused = 1;
  }
}

void FrameState::OnViewPress(uint32_t now) {
  if (!engineReady) return;
  if (gameState == kIdle) {
    RequestState(kRequestStart, now);
    ++record_.totalClicks;
  } else if (gameState == kRunning) {
    ++record_.totalClicks;
  }
}

bool SystemCommandPauses(int gameState, unsigned command) {
  if (gameState == kPaused) return false;
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
