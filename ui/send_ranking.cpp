#include "ui/send_ranking.h"

#include <shellapi.h>

#include <vector>

#include "core/win32/wide_text.h"
#include "ui/dialog_ids.h"

namespace {

bool KeyDown(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

std::string LoadUtf8String(UINT id) {
  const wchar_t* text = nullptr;
  int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return std::string();
  return Utf8FromWide(std::wstring(text, length).c_str());
}

}  // namespace

BOOL CCgiPathDlg::OnInitDialog() {
  path.clear();
  SetDlgItemTextW(hwnd_, IDC_CGI_PATH, L"");
  return TRUE;
}

void CCgiPathDlg::OnOK() {
  HWND edit = GetDlgItem(hwnd_, IDC_CGI_PATH);
  int length = GetWindowTextLengthW(edit);
  std::vector<wchar_t> text(length + 1, L'\0');
  GetWindowTextW(edit, text.data(), length + 1);
  path = Utf8FromWide(text.data());
  EndDialog(IDOK);
}

std::string RankingPageForClick(HWND owner) {
  std::string page;
  if (KeyDown(VK_CONTROL) && KeyDown('S')) {
    CCgiPathDlg dialog;
    if (dialog.DoModal(owner) == IDOK) page = dialog.path;
  }
  if (page.empty()) page = LoadUtf8String(IDS_RANKING_URL);
  return page;
}

std::string SendRanking(HWND owner, const RankingAddress& address) {
  if (!address) return std::string();
  std::string url = address(RankingPageForClick(owner));
  ShellExecuteW(nullptr, L"open", WideFromUtf8(url.c_str()).c_str(), nullptr, nullptr, SW_SHOW);
  return url;
}
