// CNewRecordDlg (template 152): a finished ride that ranks. Creating it ranks the
// result into the record's table at once (InsertResult); the frame shows it only
// when Rank() is 0-9. It asks the player's name and stores it, however it closes,
// as the record's last name and the new entry's name.
//
// The name box (CNameEdit) holds what the record can store: at most 16 bytes of
// code page 932, and only characters that code page 932 has. An edit that would
// break either rule (typing, pasting, an input method's result) is undone with a
// beep, so nothing is ever cut inside a character or stored as '?'.
#pragma once

#include <windows.h>

#include <string>

#include "core/win32/handle_owners.h"
#include "framework/dialog.h"
#include "framework/window.h"
#include "records/mg_info.h"

class CNameEdit : public CWnd {
 public:
  // The limit in code page 932 bytes.
  explicit CNameEdit(int maxBytes) : maxBytes_(maxBytes) {}
  // Counts refused edits (for the tests and nothing else).
  int refusals = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool Acceptable(const std::wstring& text) const;
  int maxBytes_;
  bool restoring_ = false;
};

class CNewRecordDlg : public CDialog {
 public:
  // scoreText as the game formatted it (ASCII), unitSuffix UTF-8. The record must
  // outlive the dialog.
  CNewRecordDlg(MgInfo* record, const char* scoreText, uint32_t scoreMs, std::string unitSuffix);

  int Rank() const { return rank_; }  // 0-9, or -1: not ranked, do not show

  // Id 1 ("ハイスコア": show the table next) or 2 ("OK").
  using CDialog::DoModal;

  // The message line as shown: "ナイス！ 12.345 秒ポムルで 1 位入賞！" (UTF-8).
  std::string MessageText() const;

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void UpdateButtons();
  void StoreName();

  MgInfo* record_;
  int rank_;
  std::string unitSuffix_;
  win32::GdiObject<HFONT> dialogFont_;  // the template's, made to show Japanese
  win32::GdiObject<HFONT> boldFont_;
  CNameEdit nameEdit_;
};
