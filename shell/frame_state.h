// The main frame's decisions, without windows: the game state (idle, running,
// paused), who paused it and why, the play time and the click count. The frame's
// window handlers feed it (commands, activation, modal UI, presses in the view) with
// the tick count of the moment; it answers through FrameActions, which the frame
// implements with the engine and the control bar and the tests with a log.
#pragma once

#include <cstdint>
#include <string>

#include "engine/mg_game_state.h"
#include "records/mg_info.h"

namespace shell {

// What a state change does outside the state.
class FrameActions {
 public:
  virtual ~FrameActions() = default;
  virtual void UpdateControls() = 0;      // buttons follow the game state
  virtual void EngineOnStart() = 0;
  virtual void EngineStop(bool stop) = 0;  // true: pause the engine's clock; false: resume it
  virtual void EngineResync() = 0;
  virtual bool IsStopEnabled() = 0;       // the Stop button, as the controls show it
  virtual void FlipStopCheck() = 0;       // the Stop button's check, as F6 flips it
};

class FrameState {
 public:
  FrameState(FrameActions& actions, MgInfo& record) : actions_(actions), record_(record) {}

  // Host service: an MgStateRequest; anything else does nothing.
  void RequestState(int request, uint32_t now);
  // The Reset command: a paused engine resumes its clock before the reset.
  void Reset(uint32_t now);
  // F6: only while the Stop button is enabled; flips its check, then toggles.
  void ToggleStopByKey(uint32_t now);

  // Around every modal interaction of the frame (dialogs, window move, system
  // menu, help): a running game pauses, an idle engine stops its clock.
  void SuspendForModal(uint32_t now);
  void ResumeAfterModal(uint32_t now);

  // WM_ACTIVATEAPP, once the engine has started: a running game pauses and
  // resumes with the activation; a game paused by hand stays paused.
  void OnActivateApp(bool active, uint32_t now);

  // The engine's Init succeeded: ticking and the keys start.
  void OnEngineStarted() { engineReady = true; appActive = true; }
  // The engine has been shut down (the window's end, the session's end): no more
  // ticks, keys or engine calls from the frame's handlers.
  void OnEngineShutDown() { engineReady = false; appActive = false; }

  // A press (or double-click) in the view: the first one while idle starts the
  // ride; presses count while idle or running, not while paused.
  void OnViewPress(uint32_t now);

  MgHostState gameState = kMgIdle;
  bool appActive = false;      // the program is active and the engine started: the loop ticks
  bool autoPaused = false;     // the frame paused a ride because the program lost the activation
  bool engineReady = false;    // the engine's Init succeeded
  bool idleSuspended = false;  // the engine's clock stopped around modal UI while idle
  bool modalPaused = false;    // the frame paused a ride around modal UI
  uint32_t playStartTick = 0;
  uint32_t pauseStartTick = 0;

 private:
  FrameActions& actions_;
  MgInfo& record_;
};

// System commands that run a modal loop of their own (moving the window, the system
// menu opened by the mouse): the game pauses around them unless it is paused already.
bool SystemCommandPauses(MgHostState gameState, unsigned command);

// The loop's tick check: the clock has moved on by more than the interval
// (unsigned 32-bit arithmetic, so it holds across the clock's wrap).
inline bool TickDue(uint32_t now, uint32_t lastTick, uint32_t interval) {
  return now - lastTick > interval;
}

// The help document's path: the executable's path with everything from its last
// '.' replaced by ".html", or ".html" appended when it has no '.'. Empty when the
// result would not fit a path buffer of 260 characters.
std::wstring HelpPathFor(const std::wstring& exePath);

// The window handle in the shared page: 32 bits written, sign-extended on reading
// (window handles are 32-bit significant on 64-bit Windows too).
uint32_t HandleToPageWord(uintptr_t handle);
uintptr_t HandleFromPageWord(uint32_t word);

// The frame's outer size for a client area of viewWidth by viewHeight plus the
// bar, from the hidden window's outer and client sizes.
struct OuterSize {
  int width;
  int height;
};
constexpr int kBarHeight = 36;
OuterSize FrameOuterSize(int viewWidth, int viewHeight, int windowWidth, int windowHeight,
                         int clientWidth, int clientHeight);

}  // namespace shell
