// CCommandState: the question "should this control be enabled / checked?" that the
// idle pass asks the frame for each control of its bars (CFrameWnd::OnUpdateCommand).
// The frame's answer is applied to the control at once.
#pragma once

#include <windows.h>

class CCommandState {
 public:
  CCommandState(UINT id, HWND control) : id_(id), control_(control) {}

  UINT GetId() const { return id_; }
  HWND GetControl() const { return control_; }

  // EnableWindow on the control, only when its state changes.
  void Enable(bool enabled = true);
  // BM_SETCHECK on the control (0 clear, 1 checked, 2 indeterminate).
  void SetCheck(int check);

 private:
  UINT id_;
  HWND control_;
};
