// Host services: the game's only door to the shell. The main frame implements
// CMgHost as a second base class and registers itself with SetMgHost before it
// calls the module's Init; the engine reaches it through GetMgHost. Every call
// below comes from inside a module call (Init, Tick, Stop, ...) on the UI thread.
#pragma once

#include "core/kl_core.h"  // KlWindow
#include "engine/mg_game_state.h"

class CMgHost {
 public:
  // The child window showing the 400 x 300 view, whose messages the host passes to
  // FilterMessage. Called by the engine's Init, which keeps it as klEngineWindow.
  virtual KlWindow GetViewWindow() = 0;
  // Called by the rodeo's result step (with kMgRequestReset, after ReportResult).
  // The host changes its state and calls OnStart, Stop or Resync from inside this
  // call, as MgStateRequest says (engine/mg_game_state.h).
  virtual void RequestState(int request) = 0;
  // An MgHostState. Called by every task pass (nothing runs while kMgPaused) and by
  // the rodeo's steps.
  virtual int GetState() = 0;
  // Called by the rodeo's result step in the middle of a game step: the host copies
  // text and value and handles them later, from a posted WM_MG_RESULT.
  virtual void ReportResult(const char* text, int value) = 0;
  // The descriptor's tickInterval; the engine calls neither.
  virtual void SetTickInterval(int milliseconds) = 0;
  virtual int GetTickInterval() = 0;
  // Path (UTF-8) of the unpacked file of that name, or null when the pack lacks it
  // (the loader given null fails as for a missing file). Called by the scene build
  // right before each load; the text may change at the next call.
  virtual const char* GetAssetPath(const char* fileName) = 0;

  // Closes the application, engine code (not virtual): with a message, hides the
  // main window and shows the message in a "強制終了" box first; then posts
  // WM_CLOSE to the main window, so the close happens after the current engine
  // call has returned. The frame's WM_CLOSE destroys the window and its WM_DESTROY
  // calls Shutdown. The engine itself calls it with null only, from klError.
  void Quit(const char* message);

 protected:
  ~CMgHost() {}
};

// The host the engine talks to; null before the frame registers itself.
CMgHost* GetMgHost();
void SetMgHost(CMgHost* host);
