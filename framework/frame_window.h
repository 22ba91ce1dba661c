// CFrameWnd: a top-level window that docks control bars at its top and gives the
// rest of its client area to the child with id kFirstPaneId (the view): the
// first-pane layout, redone on every WM_SIZE and whenever a bar comes or goes.
// It also owns the accelerator table that the application applies before dispatching
// (PreTranslateMessage) and answers the idle pass's command-state questions.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/command_state.h"
#include "framework/window.h"

class CDialogBar;

class CFrameWnd : public CWnd {
 public:
  static constexpr UINT kFirstPaneId = 0xE900;  // the child that gets the free client area
  static const RECT rectDefault;                // lets Windows choose position and size

  CFrameWnd() = default;

  // Creates the top-level window (PreCreateWindow first, as for every CWnd).
  bool Create(const wchar_t* className, const wchar_t* title, DWORD style,
              const RECT& rect = rectDefault, HWND parent = nullptr, HMENU menu = nullptr,
              DWORD exStyle = 0);

  // Bars docked at the top, in creation order (CDialogBar::Create adds itself).
  void AddControlBar(CDialogBar* bar);
  void RemoveControlBar(CDialogBar* bar);
  // Each bar gets the full client width and its own height, stacked from the top;
  // the first pane gets what is left.
  void RecalcLayout();

  // Idle pass 0: asks OnUpdateCommand once for every child control of every bar.
  void UpdateControlBars();
  // The frame's command-state handler: true when it answered for state.GetId().
  // A control the frame does not answer for keeps its state.
  virtual bool OnUpdateCommand(CCommandState& state);

  // Loads an accelerator table resource as the frame's keys (replacing any before).
  bool LoadAccelTable(UINT id);
  HACCEL GetAccelerators() const { return accelerators_; }
  // Applies the accelerators to messages for the frame and its descendants.
  bool PreTranslateMessage(MSG* msg) override;

  // Whether PostNcDestroy deletes the object (true: frames live on the heap).
  bool deleteOnDestroy = true;

 protected:
  // Registers the frame class if none is given and adds WS_EX_CLIENTEDGE.
  bool PreCreateWindow(CREATESTRUCTW& cs) override;
  // WM_SIZE lays the children out again.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;

 private:
  std::vector<CDialogBar*> bars_;
  HACCEL accelerators_ = nullptr;
};
