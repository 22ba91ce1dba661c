// CMgView: the child window the engine draws the game into (400 x 300, the frame's
// first pane). Once the engine runs, every message of the view goes to the engine's
// FilterMessage (the mouse state its steps read), and a press in the view starts a
// ride or counts as a click (CMgFrame::OnViewPress).
#pragma once

#include "framework/window.h"

class CMgFrame;

class CMgView : public CWnd {
 public:
  CMgView() = default;

 protected:
  bool PreCreateWindow(CREATESTRUCTW& cs) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The frame, found as the application's main window (null once it is gone).
  static CMgFrame* Frame();
  void OnPaint();
};
