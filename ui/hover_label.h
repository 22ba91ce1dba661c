// HoverLabel: the one small popup that names a bar button while the pointer rests
// on it. ShowHoverLabel starts a timer; only the newest request's timer shows the
// label (each request gets a new serial number as its timer id), and HideHoverLabel
// makes a pending timer do nothing. UI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "core/win32/handle_owners.h"
#include "framework/window.h"

class HoverLabel : public CWnd {
 public:
  static HoverLabel& Instance();

  // stringId -1: the window's control id. The popup is owned by the window's
  // top-level window and made on first use.
  void Show(HWND window, int stringId, UINT delayMs);
  void Hide();
  const std::wstring& GetText() const { return text_; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HoverLabel() = default;
  bool MakeWindow(HWND owner);
  void OnTimer(UINT_PTR id);

  std::wstring text_;
  win32::GdiObject<HFONT> font_;
  SIZE size_{};
  UINT serial_ = 0;
  bool hidden_ = true;
};

inline void ShowHoverLabel(HWND window, int stringId, UINT delayMs) {
  HoverLabel::Instance().Show(window, stringId, delayMs);
}
inline void HideHoverLabel() { HoverLabel::Instance().Hide(); }
