#include "ui/version_dlg.h"

#include "core/win32/wide_text.h"
#include "ui/about_text.h"
#include "ui/dialog_ids.h"
#include "ui/japanese_font.h"

namespace {

std::string LoadUtf8String(UINT id) {
  const wchar_t* text = nullptr;
  int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return std::string();
  return Utf8FromWide(std::wstring(text, length).c_str());
}

void SetText(HWND dialog, UINT id, const std::string& text) {
  SetDlgItemTextW(dialog, id, WideFromUtf8(text.c_str()).c_str());
}

}  // namespace

CVersionDlg::CVersionDlg(uint32_t totalPlayMs, uint32_t totalClicks, std::string title, std::string version)
    : CDialog(IDD_VERSION),
      totalPlayMs_(totalPlayMs),
      totalClicks_(totalClicks),
      title_(std::move(title)),
      version_(std::move(version)) {}

BOOL CVersionDlg::OnInitDialog() {
  // First: the bold title and the link make their fonts from this one.
  dialogFont_ = JapaneseFontLike(hwnd_);
  SetDialogFont(hwnd_, dialogFont_.get());
  HWND titleLine = GetDlgItem(hwnd_, IDC_ABOUT_TITLE);
  SetText(hwnd_, IDC_ABOUT_TITLE, AboutTitleLine(title_, version_));
  LOGFONTW lf{};
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(titleLine, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (GetObjectW(font, sizeof lf, &lf)) {
    lf.lfWeight = FW_BOLD;
    boldFont_ = MakeJapaneseFont(lf);
    if (boldFont_) SendMessageW(titleLine, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
  }

  std::string home = LoadUtf8String(IDS_HOMEPAGE);
  std::string tip = LoadUtf8String(IDS_HOMEPAGE_TIP);
  if (link_.Attach(IDC_ABOUT_LINK, hwnd_)) {
    link_.SetColours(RGB(16, 16, 255), RGB(16, 16, 255), RGB(255, 16, 16));
    SetText(hwnd_, IDC_ABOUT_LINK, home);
    link_.SetLink(home, tip.c_str());
  }
  SetText(hwnd_, IDC_PLAY_TIME, FormatPlayTime(totalPlayMs_));
  SetText(hwnd_, IDC_CLICK_COUNT, FormatClickCount(totalClicks_));
  return TRUE;
}

LRESULT CVersionDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    // The picture control loaded its bitmap from the template and does not delete it
    // when it goes (Wine's does not): one bitmap lost with every opening. Take it
    // from the control and delete it here; the control is left with none to delete.
    HWND picture = GetDlgItem(hwnd_, IDC_ABOUT_PICTURE);
    HGDIOBJ shown = reinterpret_cast<HGDIOBJ>(SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, 0));
    if (shown) DeleteObject(shown);
  }
  return CDialog::WindowProc(message, wParam, lParam);
}
