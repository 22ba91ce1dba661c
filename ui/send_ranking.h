// Handing the best result to the ranking page: the address (string 1103, or for
// one submission the one typed into CCgiPathDlg when Ctrl+S is held during the
// click), "?Z" and the encoded ranking block, opened by the shell in the browser.
#pragma once

#include <windows.h>

#include <string>

#include "framework/dialog.h"
#include "ui/dialog_ids.h"
#include "ui/score_table.h"

// CCgiPathDlg (template 166): one edit for the ranking page's address; it starts
// empty each time. Only its OK button and its close box end it.
class CCgiPathDlg : public CDialog {
 public:
  CCgiPathDlg() : CDialog(IDD_CGIPATH) {}
  std::string path;  // UTF-8; what the edit held when OK was pressed

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
};

// The address for this submission: string 1103, unless Ctrl and S are held now and
// the path dialog (owned by owner) returns a non-empty address.
std::string RankingPageForClick(HWND owner);

// Opens the best result's address on the page of this click with the shell (no
// owner, SW_SHOW); nothing is reported if that fails. Returns the URL.
std::string SendRanking(HWND owner, const RankingAddress& address);
