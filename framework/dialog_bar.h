// CDialogBar: a control bar made from a dialog template, a child of its frame
// docked at the frame's top (the frame's RecalcLayout gives it the full width and
// its template's height). Commands from its controls that it does not handle itself
// (OnCommand) go on to the frame, as if the frame's own controls had sent them.
#pragma once

#include <windows.h>

#include "framework/dialog.h"

class CFrameWnd;

class CDialogBar : public CDialog {
 public:
  // Bar styles (the bits of barStyle in Create).
  static constexpr DWORD kAlignTop = 0x2000;     // docked at the top (the only docking here)
  static constexpr DWORD kBorderBottom = 0x0800;  // an etched line along the bottom edge

  CDialogBar() : CDialog(0) {}
  ~CDialogBar() override;

  // Creates the bar from the template as a child of the frame with control id barId
  // and docks it; false if the template does not load.
  bool Create(CFrameWnd* frame, UINT templateId, DWORD barStyle, UINT barId);

  CFrameWnd* GetFrame() const { return frame_; }
  DWORD GetBarStyle() const { return barStyle_; }
  // The bar's size when docked: the template's size in pixels unless set here
  // (a bar whose controls are placed in pixels knows its height in pixels).
  SIZE GetDefaultSize() const { return defaultSize_; }
  void SetDefaultSize(SIZE size);

 protected:
  // Hands the command to the frame, IDOK and IDCANCEL too (a bar never ends). A
  // derived bar handles its own ids and calls this for the rest.
  bool OnCommand(UINT id, UINT code, HWND control) override;
  // Paints the bottom border (kBorderBottom).
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CFrameWnd* frame_ = nullptr;
  DWORD barStyle_ = 0;
  SIZE defaultSize_{};
};
