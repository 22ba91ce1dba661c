// CNewRecordDlg (template 152): a finished ride that ranked (the shell has put it
// into the record's table). It asks the player's name and keeps it, however it
// closes, for the shell to store as the record's last name and the new entry's name.
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
  // The ranked entry's score text as stored (" 41.250"), its rank (0-9), the name
  // typed last (code page 932, offered again) and unitSuffix (UTF-8).
  CNewRecordDlg(std::string scoreText, int rank, std::string lastName, std::string unitSuffix);

  int Rank() const { return rank_; }
  // The name in the box when the dialog closed (code page 932, at most 16 bytes).
  const std::string& Name() const { return name_; }

  // The limit of the name in code page 932 bytes, as the record stores it.
  static constexpr int kNameBytes = 16;

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
  void KeepName();

  std::string scoreText_;
  int rank_;
  std::string lastName_;
  std::string unitSuffix_;
  std::string name_;
  win32::GdiObject<HFONT> dialogFont_;  // the template's, made to show Japanese
  win32::GdiObject<HFONT> boldFont_;
  CNameEdit nameEdit_;
};
