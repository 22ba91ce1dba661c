// Small windows for the framework tests: a frame that records its commands and
// command-state questions, a view, and a bar that keeps one command for itself.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/dialog_bar.h"
#include "framework/frame_window.h"
#include "framework/window.h"
#include "framework_test_ids.h"

struct Command {
  UINT id;
  UINT code;
  HWND control;
};

class RecordingFrame : public CFrameWnd {
 public:
  RecordingFrame() { deleteOnDestroy = false; }
  std::vector<Command> commands;
  std::vector<UINT> asked;  // ids of OnUpdateCommand, in order

 protected:
  bool OnCommand(UINT id, UINT code, HWND control) override {
    commands.push_back({id, code, control});
    return true;
  }
  bool OnUpdateCommand(CCommandState& state) override {
    asked.push_back(state.GetId());
    if (state.GetId() == kBarForwarded) {
      state.Enable(false);
      return true;
    }
    if (state.GetId() == kBarCheck) {
      state.SetCheck(1);
      return true;
    }
    return false;
  }
};

class TestBar : public CDialogBar {
 public:
  int ownCommands = 0;

 protected:
  bool OnCommand(UINT id, UINT code, HWND control) override {
    if (id == kBarOwn) {
      ++ownCommands;
      return true;
    }
    return CDialogBar::OnCommand(id, code, control);
  }
};

// A frame with a 400 x 336 client, a docked test bar and a view as first pane.
struct FrameWithBar {
  RecordingFrame frame;
  CWnd view;
  TestBar bar;
  FrameWithBar() {
    DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT rect = {100, 100, 500, 436};
    AdjustWindowRectEx(&rect, style, FALSE, WS_EX_CLIENTEDGE);
    // Hidden: a shown top-level window costs Wine seconds to take down without a
    // window manager, and the layout must hold before the frame is shown anyway.
    frame.Create(nullptr, L"frame", style, rect);
    view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{}, frame.GetSafeHwnd(),
                CFrameWnd::kFirstPaneId);
    bar.Create(&frame, kTestBarTemplate, CDialogBar::kAlignTop | CDialogBar::kBorderBottom, 100);
  }
  HWND Control(UINT id) const { return GetDlgItem(bar.GetSafeHwnd(), static_cast<int>(id)); }
  // A child's rectangle in the frame's client coordinates.
  RECT ChildRect(HWND child) const {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, frame.GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
};

inline void PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}
