// CVersionDlg (template 148): the About box. The picture, "<title> Version<version>"
// in bold, the home page link, a line about the game, and the lifetime totals of
// play time and clicks, read once at opening.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/win32/handle_owners.h"
#include "framework/dialog.h"
#include "ui/link_static.h"

class CVersionDlg : public CDialog {
 public:
  // The record's lifetime totals; title and version UTF-8, as the game describes itself.
  CVersionDlg(uint32_t totalPlayMs, uint32_t totalClicks, std::string title, std::string version);

  CLinkStatic& Link() { return link_; }

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  uint32_t totalPlayMs_;
  uint32_t totalClicks_;
  std::string title_;
  std::string version_;
  win32::GdiObject<HFONT> dialogFont_;  // the template's, made to show Japanese
  win32::GdiObject<HFONT> boldFont_;
  CLinkStatic link_;
};
