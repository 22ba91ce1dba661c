// CLinkStatic: a static text control of a dialog made into a web link: underlined
// in the link colour, the hand cursor over it, another colour while the pointer is
// on it, a tooltip, and a click that opens the target with the shell. A failed
// opening beeps and says so in a message box.
#pragma once

#include <windows.h>

#include <string>

#include "core/win32/handle_owners.h"
#include "framework/window.h"

class CLinkStatic : public CWnd {
 public:
  static constexpr COLORREF kKeep = static_cast<COLORREF>(-1);

  CLinkStatic() = default;
  ~CLinkStatic() override;

  // Binds the dialog's static `id` and sets it up (style, font, size, cursor, tooltip).
  bool Attach(UINT id, HWND dialog);
  // kKeep leaves a colour as it is.
  void SetColours(COLORREF normal, COLORREF visited, COLORREF hover);
  // The target, and the tooltip's text (none: keep it).
  void SetLink(const std::string& target, const char* tip);
  void FitToText();

  COLORREF normalColour = RGB(16, 16, 255);
  COLORREF visitedColour = RGB(4, 4, 64);
  COLORREF hoverColour = RGB(255, 16, 16);
  int visited = 0;
  int hovering = 0;
  int underline = 1;
  int autoSize = 1;
  std::string linkTarget;  // UTF-8

  // The colour the text is drawn in now.
  COLORREF CurrentColour() const;
  HWND GetToolTip() const { return toolTip_; }
  HCURSOR GetHandCursor() const { return hand_; }

  // How a click opens the target; the shell by default (tests replace it). Returns
  // ShellExecute's result.
  using Opener = INT_PTR (*)(const std::wstring& target);
  static Opener opener;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  void Redraw();
  void OnClicked();
  // The tooltip's tool covers the control as it is now.
  void UpdateToolRect();

  win32::GdiObject<HFONT> font_;
  win32::GdiObject<HFONT> tipFont_;
  HCURSOR hand_ = nullptr;
  HWND toolTip_ = nullptr;
};
