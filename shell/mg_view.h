// CMgView: the child window the engine draws the game into (400 x 300, the frame's
// first pane). Once the engine runs, every message of the view goes to the engine's
// FilterMessage (the mouse state its steps read), and a press in the view starts a
// ride or counts as a click. It reaches its frame only through CMgViewHost, handed
// to it when it is made; the frame owns the view, so the host outlives it.
#pragma once

#include <windows.h>

#include "framework/window.h"

// What the view asks of the frame that holds it.
class CMgViewHost {
 public:
  // The engine's Init succeeded (and it has not been shut down).
  virtual bool IsEngineReady() const = 0;
  // A press or double-click of either button in the view.
  virtual void OnViewPress() = 0;
  // Every message of the view, as the loop took it, for the engine's FilterMessage
  // (the frame passes its palette messages the same way).
  virtual void PassToEngine(const MSG& message) = 0;
  // The paint handler's engine tick (Tick(0)); the engine draws on its own.
  virtual void TickForPaint() = 0;

 protected:
  ~CMgViewHost() = default;
};

class CMgView : public CWnd {
 public:
  explicit CMgView(CMgViewHost& host) : host_(host) {}

 protected:
  bool PreCreateWindow(CREATESTRUCTW& cs) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnPaint();
  CMgViewHost& host_;
};
